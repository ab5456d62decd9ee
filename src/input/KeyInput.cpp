#include <pyro/input/KeyInput.h>

#include <cstring>

void CKeyBuffers::ClearBuffers()
{
    index_ = 0;
    std::memset(buffers_, 0, sizeof buffers_);
}

void CKeyBuffers::ClearCurrent() { std::memset(buffers_[index_], 0, kKeyCount); }
