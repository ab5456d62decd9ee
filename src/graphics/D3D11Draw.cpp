// CD3D11Draw: device and swap chain set-up, the per-frame upload and draw, device loss and the
// fall-back to GDI.
//
// Choices made here:
// - The whole back buffer is uploaded each frame (or only the rows of OnDraw's rectangle): the
//   planes keep no record of which rows a transfer touched, and the screen view redraws its
//   borders every frame anyway.
// - Magnification is a draw of one triangle covering the destination rectangle that samples the
//   texture (point sampling for whole factors, linear otherwise). Magnifying on the CPU and copying
//   with CopySubresourceRegion would multiply the upload by the square of the factor and keep the
//   very cost on the CPU that this back-end exists to remove. At factor 1 the point-sampled draw
//   gives the texture's pixels exactly, so the window shows what the DIB back-end shows.
// - GDI drawing hooks draw into the back buffer plane's DIB section before the upload, as with
//   the DIB back-end: their pixels are the same on both back-ends, and no GDI-compatible swap
//   chain (which flip-model swap chains on older systems and Wine do not offer) is needed.
// - The shaders are compiled at start-up by D3DCompile from d3dcompiler_47.dll (the MinGW
//   toolchain has no HLSL compiler to make bytecode at build time). Without the library the screen
//   stays on GDI. d3d11.dll is loaded the same way, so the program starts where it is missing.
#include <pyro/graphics/D3D11Draw.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/Application.h>
#include <pyro/app/ErrorLog.h>
#include <pyro/app/FrameTimer.h>

#include <d3d11.h>
#include <d3dcompiler.h>
#include <dxgi1_3.h>

#include <cstdlib>
#include <cstring>

namespace {

// Draws the texture over the viewport: one triangle whose corners (0,0), (2,0), (0,2) in texture
// space cover the unit square.
const char kShaders[] =
    "Texture2D image : register(t0);\n"
    "SamplerState sampled : register(s0);\n"
    "void VS(uint id : SV_VertexID, out float4 position : SV_Position, out float2 uv : TEXCOORD0)\n"
    "{\n"
    "    uv = float2((id << 1) & 2, id & 2);\n"
    "    position = float4(uv * float2(2, -2) + float2(-1, 1), 0, 1);\n"
    "}\n"
    "float4 PS(float4 position : SV_Position, float2 uv : TEXCOORD0) : SV_Target\n"
    "{\n"
    "    return float4(image.Sample(sampled, uv).rgb, 1);\n"
    "}\n";

const char* const kStepNames[] = {"Startでd3d11.dllの読み込み", "StartでD3D11CreateDevice",
                                  "Startでシェーダーのコンパイル", "Startでスワップチェーンの作成",
                                  "Startで描画資源の作成"};
const char* const kFaultNames[] = {"library", "device", "shaders", "swapchain", "resources"};

template <class T>
void SafeRelease(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

using CreateDeviceProc = HRESULT(WINAPI*)(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT,
                                          const D3D_FEATURE_LEVEL*, UINT, UINT, ID3D11Device**,
                                          D3D_FEATURE_LEVEL*, ID3D11DeviceContext**);

bool IsDeviceLost(HRESULT hr)
{
    return hr == DXGI_ERROR_DEVICE_REMOVED || hr == DXGI_ERROR_DEVICE_RESET || hr == DXGI_ERROR_DEVICE_HUNG ||
           hr == DXGI_ERROR_DRIVER_INTERNAL_ERROR;
}

}  // namespace

// Everything made from the device; released together when the device is lost.
struct CD3D11Draw::Device {
    HMODULE d3d11 = nullptr;
    HMODULE compiler = nullptr;
    ID3D11Device* device = nullptr;
    ID3D11DeviceContext* context = nullptr;
    IDXGISwapChain* swapChain = nullptr;
    HANDLE waitable = nullptr;
    UINT swapFlags = 0;
    ID3D11RenderTargetView* target = nullptr;
    ID3D11Texture2D* texture = nullptr;
    ID3D11ShaderResourceView* view = nullptr;
    ID3D11VertexShader* vertexShader = nullptr;
    ID3D11PixelShader* pixelShader = nullptr;
    ID3D11SamplerState* pointSampler = nullptr;
    ID3D11SamplerState* linearSampler = nullptr;
    int32_t chainWidth = 0, chainHeight = 0;
    int32_t textureWidth = 0, textureHeight = 0;

    ~Device() { ReleaseAll(); }

    void ReleaseTexture()
    {
        SafeRelease(view);
        SafeRelease(texture);
        textureWidth = textureHeight = 0;
    }
    void ReleaseAll()
    {
        if (context) context->ClearState();
        ReleaseTexture();
        SafeRelease(target);
        SafeRelease(linearSampler);
        SafeRelease(pointSampler);
        SafeRelease(pixelShader);
        SafeRelease(vertexShader);
        if (waitable && CFrameTimer::GetPresentWaitable() == waitable) CFrameTimer::SetPresentWaitable(nullptr);
        if (waitable) CloseHandle(waitable);
        waitable = nullptr;
        SafeRelease(swapChain);
        SafeRelease(context);
        SafeRelease(device);
        chainWidth = chainHeight = 0;
        if (compiler) FreeLibrary(compiler);
        compiler = nullptr;
        if (d3d11) FreeLibrary(d3d11);
        d3d11 = nullptr;
    }
    // The render target view on the swap chain's buffer.
    HRESULT MakeTarget()
    {
        ID3D11Texture2D* buffer = nullptr;
        HRESULT hr = swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&buffer));
        if (FAILED(hr)) return hr;
        hr = device->CreateRenderTargetView(buffer, nullptr, &target);
        buffer->Release();
        return hr;
    }
};

CD3D11Draw::CD3D11Draw() : device_(new Device)
{
    SetFault(std::getenv("PYRO_D3D11_FAULT"));
}

CD3D11Draw::~CD3D11Draw() { device_.reset(); }

void CD3D11Draw::SetFault(const char* fault)
{
    faultStep_ = -1;
    faultRemoved_ = false;
    if (!fault) return;
    if (std::strcmp(fault, "removed") == 0) faultRemoved_ = true;
    for (int i = 0; i < 5; ++i) {
        if (std::strcmp(fault, kFaultNames[i]) == 0) faultStep_ = i;
    }
}

bool CD3D11Draw::IsActive() const { return active_; }

HANDLE CD3D11Draw::GetFrameLatencyWaitable() const { return active_ ? device_->waitable : nullptr; }

int32_t CD3D11Draw::Fail(Step step)
{
    device_->ReleaseAll();
    return step + 1;
}

void CD3D11Draw::FallBack(const char* what, long result)
{
    CErrorLog::WriteSystem("CD3D11Draw::%sに失敗(0x%08lX)、GDIで表示する", what, static_cast<unsigned long>(result));
    device_->ReleaseAll();
    active_ = false;
    // The window shows what GDI copies from now on.
    if (GetWindow()) InvalidateRect(GetWindow(), nullptr, FALSE);
}

int32_t CD3D11Draw::Start()
{
    device_->ReleaseAll();
    active_ = false;
    const int32_t failed = Create();
    if (failed != 0) {
        FallBack(kStepNames[failed - 1], lastResult_);
        return failed;
    }
    active_ = true;
    return 0;
}

int32_t CD3D11Draw::Create()
{
    Device& d = *device_;
    HWND window = GetWindow();
    lastResult_ = E_FAIL;
    if (!window) return kCreateSwapChain + 1;

    // 1. The libraries.
    if (faultStep_ != kLoadLibrary) d.d3d11 = LoadLibraryA("d3d11.dll");
    CreateDeviceProc createDevice =
        d.d3d11 ? reinterpret_cast<CreateDeviceProc>(reinterpret_cast<void*>(GetProcAddress(d.d3d11, "D3D11CreateDevice")))
                : nullptr;
    if (!createDevice) return Fail(kLoadLibrary);

    // 2. A hardware device, else the WARP software rasteriser.
    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0};
    HRESULT hr = E_FAIL;
    if (faultStep_ != kCreateDevice) {
        for (D3D_DRIVER_TYPE type : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
            hr = createDevice(nullptr, type, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT, levels, 3, D3D11_SDK_VERSION,
                              &d.device, nullptr, &d.context);
            if (SUCCEEDED(hr)) break;
        }
    }
    lastResult_ = hr;
    if (FAILED(hr)) return Fail(kCreateDevice);

    // 3. The shaders.
    if (faultStep_ != kCompileShaders) d.compiler = LoadLibraryA("d3dcompiler_47.dll");
    pD3DCompile compile =
        d.compiler ? reinterpret_cast<pD3DCompile>(reinterpret_cast<void*>(GetProcAddress(d.compiler, "D3DCompile")))
                   : nullptr;
    hr = E_FAIL;
    if (compile) {
        ID3DBlob* vs = nullptr;
        ID3DBlob* ps = nullptr;
        hr = compile(kShaders, sizeof kShaders - 1, "present", nullptr, nullptr, "VS", "vs_4_0", 0, 0, &vs, nullptr);
        if (SUCCEEDED(hr))
            hr = compile(kShaders, sizeof kShaders - 1, "present", nullptr, nullptr, "PS", "ps_4_0", 0, 0, &ps, nullptr);
        if (SUCCEEDED(hr))
            hr = d.device->CreateVertexShader(vs->GetBufferPointer(), vs->GetBufferSize(), nullptr, &d.vertexShader);
        if (SUCCEEDED(hr))
            hr = d.device->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr, &d.pixelShader);
        SafeRelease(vs);
        SafeRelease(ps);
    }
    lastResult_ = hr;
    if (FAILED(hr)) return Fail(kCompileShaders);

    // 4. The swap chain: flip-discard (Windows 10), else flip-sequential (Windows 8, and 7 with
    // its platform update), each first with the frame-latency object (Windows 8.1).
    IDXGIDevice1* dxgiDevice = nullptr;
    IDXGIAdapter* adapter = nullptr;
    IDXGIFactory* factory = nullptr;
    hr = d.device->QueryInterface(__uuidof(IDXGIDevice1), reinterpret_cast<void**>(&dxgiDevice));
    if (SUCCEEDED(hr)) hr = dxgiDevice->GetAdapter(&adapter);
    if (SUCCEEDED(hr)) hr = adapter->GetParent(__uuidof(IDXGIFactory), reinterpret_cast<void**>(&factory));
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    if (SUCCEEDED(hr) && faultStep_ != kCreateSwapChain) {
        const DXGI_SWAP_EFFECT effects[] = {DXGI_SWAP_EFFECT_FLIP_DISCARD, DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL};
        const UINT flags[] = {DXGI_SWAP_CHAIN_FLAG_FRAME_LATENCY_WAITABLE_OBJECT, 0};
        hr = E_FAIL;
        for (int e = 0; e < 2 && FAILED(hr); ++e) {
            for (int f = 0; f < 2 && FAILED(hr); ++f) {
                DXGI_SWAP_CHAIN_DESC desc = {};
                desc.BufferDesc.Width = client.right > 0 ? client.right : 1;
                desc.BufferDesc.Height = client.bottom > 0 ? client.bottom : 1;
                desc.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
                desc.SampleDesc.Count = 1;
                desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
                desc.BufferCount = 2;
                desc.OutputWindow = window;
                desc.Windowed = TRUE;
                desc.SwapEffect = effects[e];
                desc.Flags = flags[f];
                hr = factory->CreateSwapChain(d.device, &desc, &d.swapChain);
                if (SUCCEEDED(hr)) {
                    d.swapFlags = flags[f];
                    d.chainWidth = static_cast<int32_t>(desc.BufferDesc.Width);
                    d.chainHeight = static_cast<int32_t>(desc.BufferDesc.Height);
                }
            }
        }
        // Full screen is the application's borderless window: DXGI must not switch modes itself.
        if (SUCCEEDED(hr)) factory->MakeWindowAssociation(window, DXGI_MWA_NO_ALT_ENTER | DXGI_MWA_NO_WINDOW_CHANGES);
    } else if (SUCCEEDED(hr)) {
        hr = E_FAIL;
    }
    // At most one frame queued: the frame shown is the one just drawn.
    if (SUCCEEDED(hr)) {
        IDXGISwapChain2* chain2 = nullptr;
        if ((d.swapFlags & DXGI_SWAP_CHAIN_FLAG_FRAME_LATENCY_WAITABLE_OBJECT) &&
            SUCCEEDED(d.swapChain->QueryInterface(__uuidof(IDXGISwapChain2), reinterpret_cast<void**>(&chain2)))) {
            chain2->SetMaximumFrameLatency(1);
            d.waitable = chain2->GetFrameLatencyWaitableObject();
            chain2->Release();
        } else {
            dxgiDevice->SetMaximumFrameLatency(1);
        }
    }
    SafeRelease(factory);
    SafeRelease(adapter);
    SafeRelease(dxgiDevice);
    lastResult_ = hr;
    if (FAILED(hr)) return Fail(kCreateSwapChain);

    // 5. The render target and the two samplers.
    hr = faultStep_ == kCreateResources ? E_FAIL : d.MakeTarget();
    for (int i = 0; i < 2 && SUCCEEDED(hr); ++i) {
        D3D11_SAMPLER_DESC sampler = {};
        sampler.Filter = i == 0 ? D3D11_FILTER_MIN_MAG_MIP_POINT : D3D11_FILTER_MIN_MAG_MIP_LINEAR;
        sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
        sampler.MaxLOD = D3D11_FLOAT32_MAX;
        hr = d.device->CreateSamplerState(&sampler, i == 0 ? &d.pointSampler : &d.linearSampler);
    }
    lastResult_ = hr;
    if (FAILED(hr)) return Fail(kCreateResources);
    return 0;
}

long CD3D11Draw::PresentBuffer(uint32_t interval, uint32_t flags)
{
    if (faultRemoved_) {
        faultRemoved_ = false;
        return DXGI_ERROR_DEVICE_REMOVED;
    }
    return device_->swapChain->Present(interval, flags);
}

// ---- Presentation ----

void CD3D11Draw::OnDraw(const Rect* rect, bool runHooks)
{
    if (!active_) {
        CDIBDraw::OnDraw(rect, runHooks);
        return;
    }
    MarkPresented(false);
    if (!Secondary() || !Secondary()->GetImpl()->GetPixels()) return;
    if (runHooks) RunHooks();
    // A hook may have changed the display; present whatever back buffer there is now.
    CPlane* secondary = Secondary();
    if (!secondary || !secondary->GetImpl()->GetPixels()) return;
    if (GetBrightness() != 256) secondary->ScaleColor(GetBrightness(), nullptr);
    if (!Show(rect, true)) {
        // The device went on the way: GDI presents this frame and every later one.
        if (!active_) CDIBDraw::OnDraw(rect, false);
        return;
    }
    MarkPresented(true);
}

LRESULT CD3D11Draw::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!active_) return CDIBDraw::OnMessage(hwnd, message, wParam, lParam);
    if (message == WM_PAINT) {
        ValidateRect(hwnd, nullptr);
        MarkPresented(false);
        // The texture still holds the last frame: draw it again.
        if (device_->textureWidth > 0) Show(nullptr, false);
    }
    return 0;
}

// Uploads (when asked), draws and presents. False when Direct3D cannot present any more; then the
// screen has fallen back to GDI (active_ is false).
bool CD3D11Draw::Show(const Rect* rect, bool upload)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        Device& d = *device_;
        if (!d.device) {
            // The device was lost at the last Present: make everything again; the back buffer
            // lives in the plane and is uploaded whole.
            if (Create() != 0) {
                FallBack("OnDrawでデバイスの再作成", lastResult_);
                return false;
            }
            ++recreateCount_;
            upload = true;
            rect = nullptr;
        }
        CApplication* app = GetMyApp();
        if (app && app->GetWindow().IsMinimized()) return true;
        RECT client = {0, 0, 0, 0};
        GetClientRect(GetWindow(), &client);
        if (client.right <= 0 || client.bottom <= 0) return true;

        HRESULT hr = S_OK;
        // The window changed size: the swap chain follows it.
        if (client.right != d.chainWidth || client.bottom != d.chainHeight) {
            d.context->OMSetRenderTargets(0, nullptr, nullptr);
            SafeRelease(d.target);
            hr = d.swapChain->ResizeBuffers(0, static_cast<UINT>(client.right), static_cast<UINT>(client.bottom),
                                            DXGI_FORMAT_UNKNOWN, d.swapFlags);
            if (SUCCEEDED(hr)) hr = d.MakeTarget();
            if (SUCCEEDED(hr)) {
                d.chainWidth = client.right;
                d.chainHeight = client.bottom;
            }
        }

        CPlaneImpl* plane = Secondary()->GetImpl();
        int32_t width = 0, height = 0;
        plane->GetSize(&width, &height);
        if (SUCCEEDED(hr) && (width != d.textureWidth || height != d.textureHeight)) {
            d.ReleaseTexture();
            D3D11_TEXTURE2D_DESC desc = {};
            desc.Width = static_cast<UINT>(width);
            desc.Height = static_cast<UINT>(height);
            desc.MipLevels = 1;
            desc.ArraySize = 1;
            desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
            desc.SampleDesc.Count = 1;
            desc.Usage = D3D11_USAGE_DEFAULT;
            desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
            hr = d.device->CreateTexture2D(&desc, nullptr, &d.texture);
            if (SUCCEEDED(hr)) hr = d.device->CreateShaderResourceView(d.texture, nullptr, &d.view);
            if (SUCCEEDED(hr)) {
                d.textureWidth = width;
                d.textureHeight = height;
            }
            upload = true;
            rect = nullptr;
        }
        if (FAILED(hr)) {
            if (IsDeviceLost(hr) && attempt == 0) {
                d.ReleaseAll();
                continue;
            }
            FallBack("OnDrawで描画資源の作成", hr);
            return false;
        }

        // The rows to upload: the rectangle's, cut to the back buffer, or all.
        if (upload) {
            D3D11_BOX box = {0, 0, 0, static_cast<UINT>(width), static_cast<UINT>(height), 1};
            if (rect) {
                box.left = static_cast<UINT>(rect->left < 0 ? 0 : rect->left > width ? width : rect->left);
                box.right = static_cast<UINT>(rect->right < 0 ? 0 : rect->right > width ? width : rect->right);
                box.top = static_cast<UINT>(rect->top < 0 ? 0 : rect->top > height ? height : rect->top);
                box.bottom = static_cast<UINT>(rect->bottom < 0 ? 0 : rect->bottom > height ? height : rect->bottom);
            }
            if (box.right > box.left && box.bottom > box.top) {
                const uint32_t* pixels = plane->GetPixels() + size_t(box.top) * size_t(width) + box.left;
                d.context->UpdateSubresource(d.texture, 0, &box, pixels, static_cast<UINT>(width) * 4, 0);
            }
        }

        // Where the image goes: the offsets move it as on the DIB back-end; a smaller back buffer
        // is magnified and centred.
        int32_t drawWidth = width;
        int32_t drawHeight = height;
        bool filtered = false;
        if (width < client.right || height < client.bottom) {
            if (width <= client.right && height <= client.bottom) {
                if (scaling_ == kIntegerScale) {
                    int32_t factor = client.right / width;
                    if (client.bottom / height < factor) factor = client.bottom / height;
                    drawWidth = width * factor;
                    drawHeight = height * factor;
                } else if (int64_t(client.right) * height <= int64_t(client.bottom) * width) {
                    drawWidth = client.right;
                    drawHeight = static_cast<int32_t>(int64_t(client.right) * height / width);
                    filtered = drawWidth != width;
                } else {
                    drawHeight = client.bottom;
                    drawWidth = static_cast<int32_t>(int64_t(client.bottom) * width / height);
                    filtered = drawHeight != height;
                }
            }
        }
        // 64-bit: offsets may be anything a caller set, up to the ends of the 32-bit range.
        const int64_t factor = drawWidth / width;
        const int64_t left = (drawWidth < client.right ? (client.right - drawWidth) / 2 : 0) + GetOffsetX() * factor;
        const int64_t top = (drawHeight < client.bottom ? (client.bottom - drawHeight) / 2 : 0) + GetOffsetY() * factor;

        static const float kBlack[4] = {0, 0, 0, 1};
        d.context->ClearRenderTargetView(d.target, kBlack);
        // An image wholly outside the window leaves it black; one that overlaps it has a viewport
        // within the bounds Direct3D accepts, as neither size passes 16384.
        if (left < client.right && top < client.bottom && left + drawWidth > 0 && top + drawHeight > 0) {
            D3D11_VIEWPORT viewport = {float(left), float(top), float(drawWidth), float(drawHeight), 0, 1};
            d.context->RSSetViewports(1, &viewport);
            d.context->OMSetRenderTargets(1, &d.target, nullptr);
            d.context->IASetInputLayout(nullptr);
            d.context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
            d.context->VSSetShader(d.vertexShader, nullptr, 0);
            d.context->PSSetShader(d.pixelShader, nullptr, 0);
            d.context->PSSetShaderResources(0, 1, &d.view);
            d.context->PSSetSamplers(0, 1, filtered ? &d.linearSampler : &d.pointSampler);
            d.context->Draw(3, 0);
        }

        if (capture_) {
            capture_ = false;
            captured_.clear();
            ID3D11Texture2D* buffer = nullptr;
            ID3D11Texture2D* staging = nullptr;
            HRESULT read = d.swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&buffer));
            D3D11_TEXTURE2D_DESC desc = {};
            if (SUCCEEDED(read)) {
                buffer->GetDesc(&desc);
                desc.Usage = D3D11_USAGE_STAGING;
                desc.BindFlags = 0;
                desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
                desc.MiscFlags = 0;
                read = d.device->CreateTexture2D(&desc, nullptr, &staging);
            }
            D3D11_MAPPED_SUBRESOURCE mapped = {};
            if (SUCCEEDED(read)) {
                d.context->CopyResource(staging, buffer);
                read = d.context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped);
            }
            if (SUCCEEDED(read)) {
                captured_.resize(size_t(desc.Width) * desc.Height);
                for (UINT y = 0; y < desc.Height; ++y) {
                    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(mapped.pData) +
                                                                        size_t(y) * mapped.RowPitch);
                    for (UINT x = 0; x < desc.Width; ++x) captured_[size_t(y) * desc.Width + x] = row[x] & 0x00FFFFFF;
                }
                capturedWidth_ = static_cast<int32_t>(desc.Width);
                capturedHeight_ = static_cast<int32_t>(desc.Height);
                d.context->Unmap(staging, 0);
            }
            SafeRelease(staging);
            SafeRelease(buffer);
        }

        // The frame timer waits on the swap chain while Present waits for the vertical blank.
        CFrameTimer::SetPresentWaitable(vsync_ ? d.waitable : nullptr);
        hr = vsync_ ? PresentBuffer(1, 0) : PresentBuffer(0, DXGI_PRESENT_DO_NOT_WAIT);
        // Without vsync a display still busy with the last frame drops this one.
        if (SUCCEEDED(hr) || hr == DXGI_ERROR_WAS_STILL_DRAWING) return true;
        if (IsDeviceLost(hr) && attempt == 0) {
            d.ReleaseAll();
            upload = true;
            continue;
        }
        FallBack("OnDrawでPresent", hr);
        return false;
    }
    return false;
}

int32_t CD3D11Draw::ReadPresented(std::vector<uint32_t>* pixels, int32_t* width, int32_t* height)
{
    if (!active_ || device_->textureWidth <= 0) return 1;
    capture_ = true;
    captured_.clear();
    const bool shown = Show(nullptr, false);
    capture_ = false;
    if (!shown || captured_.empty()) return 1;
    if (pixels) pixels->swap(captured_);
    if (width) *width = capturedWidth_;
    if (height) *height = capturedHeight_;
    return 0;
}
