// CDirectDrawBase: the process-wide DirectDraw object, created with the first holder and released
// with the last. Nothing is drawn through it: the screen presents with GDI and only keeps the
// object alive while it exists.
#pragma once

#include <cstdint>

struct IDirectDraw;

class CDirectDrawBase {
public:
    // The first holder initialises COM for its thread and creates the object.
    explicit CDirectDrawBase(bool emulationFirst = false);
    virtual ~CDirectDrawBase();  // the last holder releases the object
    CDirectDrawBase(const CDirectDrawBase&) = delete;
    CDirectDrawBase& operator=(const CDirectDrawBase&) = delete;

    // Creates the object and initialises it: with emulationFirst the emulation-only driver, then
    // the default driver; without, the default driver only. 0 on success; 1 with no object.
    static int32_t Initialize(bool emulationFirst);

    // The DirectDraw object, or null.
    static IDirectDraw* GetDirectDraw();
    // The number of holders alive.
    static int32_t GetInstanceCount();
};
