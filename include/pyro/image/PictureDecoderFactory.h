// CPictureDecoderFactory: where the plane loaders get their picture decoders. The interface's
// own Create makes none; the standard factory makes a CPictureDecoder. One standard factory is
// held for the whole process, built during start-up.
#pragma once

class CPictureDecoder;

class CPictureDecoderFactory {
public:
    virtual ~CPictureDecoderFactory() = default;
    // A new decoder that the caller deletes, or null.
    virtual CPictureDecoder* Create();
};

// The factory the process uses: it makes CPictureDecoder objects.
class CStandardPictureDecoderFactory : public CPictureDecoderFactory {
public:
    // A new CPictureDecoder.
    CPictureDecoder* Create() override;
};

// The process-wide factory: a CStandardPictureDecoderFactory owned until exit.
CPictureDecoderFactory& GetPictureDecoderFactory();
