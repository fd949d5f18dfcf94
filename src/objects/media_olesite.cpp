// A minimal in-place container for one ActiveX control: the client site,
// the in-place site and a frame that asks for nothing (no menus, no tool
// space, no accelerators). Enough for the web browser and Flash controls,
// which draw into a window of their own inside ours.
#include "objects/media.h"

#include <ocidl.h>
#include <ole2.h>
#include <oleauto.h>

namespace orv::objects {

namespace {

void EnsureOle() {
    // The thread becomes a single-threaded apartment once; later calls
    // only count up, and the apartment lives as long as the thread.
    static const HRESULT ok = OleInitialize(nullptr);
    (void)ok;
}

} // namespace

// COM interfaces are released through Release, never deleted through a
// base pointer, so they have no virtual destructor.
#ifdef __GNUC__
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class OleSite::Site : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    Site(HWND window, const RECT& rect) : window_(window), rect_(rect) {}
    virtual ~Site() = default;

    IOleObject* object = nullptr; // not counted: the OleSite holds it

    void SetRect(const RECT& rect) { rect_ = rect; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
            *out = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) ||
                 IsEqualIID(riid, IID_IOleInPlaceFrame))
            *out = static_cast<IOleInPlaceFrame*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --refs_;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override {
        if (m)
            *m = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
        if (c)
            *c = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* w) override {
        if (!w)
            return E_POINTER;
        *w = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                               LPRECT pos, LPRECT clip,
                                               LPOLEINPLACEFRAMEINFO info) override {
        if (frame) {
            *frame = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
        }
        if (doc)
            *doc = nullptr;
        if (pos)
            *pos = rect_;
        if (clip)
            *clip = rect_;
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = window_;
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override {
        if (!rect || !object)
            return S_OK;
        IOleInPlaceObject* ip = nullptr;
        if (SUCCEEDED(
                object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ip))) &&
            ip) {
            ip->SetObjectRects(rect, rect);
            ip->Release();
        }
        return S_OK;
    }

    // IOleInPlaceUIWindow
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
        return S_OK;
    }

    // IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    long refs_ = 1;
    HWND window_;
    RECT rect_;
};
#ifdef __GNUC__
#pragma GCC diagnostic pop
#endif

std::unique_ptr<OleSite> OleSite::Create(const CLSID& clsid, HWND window, const RECT& rect) {
    if (!window)
        return nullptr;
    EnsureOle();
    IOleObject* object = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&object))) ||
        !object)
        return nullptr;
    std::unique_ptr<OleSite> host(new OleSite());
    host->object_ = object;
    host->site_ = new Site(window, rect);
    host->site_->object = object;
    IOleClientSite* client = static_cast<IOleClientSite*>(host->site_);
    if (FAILED(object->SetClientSite(client)))
        return nullptr;
    // Controls that persist start from a fresh state.
    IPersistStreamInit* init = nullptr;
    if (SUCCEEDED(
            object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init))) &&
        init) {
        init->InitNew();
        init->Release();
    }
    RECT r = rect;
    if (FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client, 0, window, &r)))
        return nullptr;
    host->Resize(rect);
    return host;
}

OleSite::~OleSite() {
    if (object_) {
        IOleInPlaceObject* ip = nullptr;
        if (SUCCEEDED(
                object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ip))) &&
            ip) {
            ip->InPlaceDeactivate();
            ip->Release();
        }
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_->Release();
    }
    if (site_) {
        site_->object = nullptr;
        site_->Release();
    }
}

void OleSite::Resize(const RECT& rect) {
    if (site_)
        site_->SetRect(rect);
    IOleInPlaceObject* ip = nullptr;
    if (object_ &&
        SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ip))) &&
        ip) {
        ip->SetObjectRects(&rect, &rect);
        ip->Release();
    }
}

void* OleSite::Query(const IID& iid) const {
    void* out = nullptr;
    if (!object_ || FAILED(object_->QueryInterface(iid, &out)))
        return nullptr;
    return out;
}

namespace {

bool Invoke(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* arg) {
    DISPID id = 0;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    if (FAILED(d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id)))
        return false;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    if (arg) {
        params.rgvarg = arg;
        params.cArgs = 1;
        if (flags == DISPATCH_PROPERTYPUT) {
            params.rgdispidNamedArgs = &named;
            params.cNamedArgs = 1;
        }
    }
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr =
        d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, nullptr, nullptr);
    VariantClear(&result);
    return SUCCEEDED(hr);
}

} // namespace

bool OleSite::PutProperty(const wchar_t* name, VARIANT value) {
    auto* d = static_cast<IDispatch*>(Query(IID_IDispatch));
    if (!d)
        return false;
    const bool ok = Invoke(d, name, DISPATCH_PROPERTYPUT, &value);
    d->Release();
    return ok;
}

bool OleSite::Call(const wchar_t* name) {
    auto* d = static_cast<IDispatch*>(Query(IID_IDispatch));
    if (!d)
        return false;
    const bool ok = Invoke(d, name, DISPATCH_METHOD, nullptr);
    d->Release();
    return ok;
}

} // namespace orv::objects
