// The span writers of a transfer set, built from its row function and its pixel rules: Copy,
// ShapeAlpha, Add, Subtract and Multiply of the namespace Rules. Each set's file instantiates it
// with its own rules (the vector sets' files alone are compiled for their instructions).
#pragma once

#include "graphics/shape/ShapeSpans.h"
#include "graphics/transfer/TransferLoop.h"

#include <cstddef>
#include <cstdint>

template <class Set, class Rules>
struct ShapeSpanWriter {
    template <class Rule, class Cursor>
    static void Run(uint32_t* d, size_t n, Cursor cursor)
    {
        const typename Set::template Row<Rule> row{Rule{}};
        row(d, n, cursor);
    }

    template <class Cursor>
    static void Apply(uint32_t* d, size_t n, Cursor cursor, BlendMode mode)
    {
        switch (mode) {
        case BlendMode::Copy: Run<typename Rules::Copy>(d, n, cursor); break;
        case BlendMode::Alpha: Run<typename Rules::ShapeAlpha>(d, n, cursor); break;
        case BlendMode::Add: Run<typename Rules::Add>(d, n, cursor); break;
        case BlendMode::Subtract: Run<typename Rules::Subtract>(d, n, cursor); break;
        case BlendMode::Multiply: Run<typename Rules::Multiply>(d, n, cursor); break;
        }
        Set::Leave();
    }

    static void Fill(uint32_t* d, size_t n, uint32_t s, BlendMode mode)
    {
        Apply(d, n, FixedCursor{s}, mode);
    }

    static void Row(uint32_t* d, size_t n, const uint32_t* s, BlendMode mode)
    {
        Apply(d, n, LinearCursor<false>{s}, mode);
    }

    static const ShapeSpanSet& Writers()
    {
        static const ShapeSpanSet set = {&Fill, &Row};
        return set;
    }
};
