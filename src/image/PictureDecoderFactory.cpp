// The decoder factories and the process-wide holder of the standard one.
#include <pyro/image/PictureDecoderFactory.h>

#include <memory>
#include <new>

#include <pyro/image/PictureDecoder.h>

CPictureDecoder* CPictureDecoderFactory::Create() { return nullptr; }

CPictureDecoder* CStandardPictureDecoderFactory::Create()
{
    return new (std::nothrow) CPictureDecoder;
}

namespace {

// Owns the standard factory until exit.
class CPictureDecoderFactoryHolder {
public:
    CPictureDecoderFactoryHolder() : factory_(new CStandardPictureDecoderFactory) {}
    CPictureDecoderFactory& Get() { return *factory_; }

private:
    std::unique_ptr<CPictureDecoderFactory> factory_;
};

CPictureDecoderFactoryHolder& Holder()
{
    static CPictureDecoderFactoryHolder holder;
    return holder;
}

// Built during static initialisation, before any application thread can ask for it.
[[maybe_unused]] CPictureDecoderFactoryHolder& startUpHolder = Holder();

}  // namespace

CPictureDecoderFactory& GetPictureDecoderFactory() { return Holder().Get(); }
