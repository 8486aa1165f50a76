// Events.CommandBarEvents: event sources that send a control's Click to the sinks advised to them
// through their connection point.

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <new>
#include <utility>

#include "standin/Model.h"

namespace standin {
namespace {

// The event interface of CommandBarEvents as the VBA editor declares it: Click has DISPID 1.
constexpr IID kCommandBarEventsIid = {
    0x0002E131, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DISPID kClick = 1;

// Hands out one connection point, once per pass.
class PointEnumerator final : public ComObject<IEnumConnectionPoints> {
 public:
  PointEnumerator(IConnectionPoint* point, ULONG position) : point_(point), position_(position) {}
  STDMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
    if (!points || (count != 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    if (count > 0 && position_ == 0) {
      points[0] = point_.get();
      points[0]->AddRef();
      given = position_ = 1;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    const bool enough = position_ + count <= 1;
    position_ = enough ? position_ + count : 1;
    return enough ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumConnectionPoints** copy) override {
    if (!copy) return E_POINTER;
    *copy = new (std::nothrow) PointEnumerator(point_.get(), position_);
    return *copy ? S_OK : E_OUTOFMEMORY;
  }

 private:
  com_ptr<IConnectionPoint> point_;
  ULONG position_;
};

}  // namespace

/// The object CommandBarEvents returns: no members of its own, one connection point.
class EventSource final : public IdeObject<EventSource>, public IConnectionPointContainer {
 public:
  EventSource(IdePtr ide, ControlObject& control)
      : IdeObject(L"CommandBarEvents", {}, std::move(ide)), control_(&control) {
    ide_->eventSources.push_back(this);
  }
  ~EventSource() override { std::erase(ide_->eventSources, this); }

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    return DispatchObject::QueryInterface(riid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return DispatchObject::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return DispatchObject::Release(); }

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (!points) return E_POINTER;
    *points = new (std::nothrow) PointEnumerator(&point_, 0);
    return *points ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = ::IsEqualIID(riid, kCommandBarEventsIid) ? &point_ : nullptr;
    if (!*point) return CONNECT_E_NOCONNECTION;
    point_.AddRef();
    return S_OK;
  }

  ControlObject* Control() const { return control_.get(); }
  /// Copies, so that sinks may come and go while Click is being sent.
  std::vector<com_ptr<IDispatch>> Sinks() const {
    std::vector<com_ptr<IDispatch>> sinks;
    for (const auto& [cookie, sink] : sinks_) sinks.push_back(sink);
    return sinks;
  }
  void DropSinks() { sinks_.clear(); }

 private:
  // The connection point lives and dies with its container: it counts references there.
  class Point final : public IConnectionPoint {
   public:
    explicit Point(EventSource& source) : source_(source) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
      if (!object) return E_POINTER;
      *object = ::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IConnectionPoint)
                    ? this
                    : nullptr;
      if (!*object) return E_NOINTERFACE;
      AddRef();
      return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return source_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return source_.Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override {
      if (!iid) return E_POINTER;
      *iid = kCommandBarEventsIid;
      return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
      if (!container) return E_POINTER;
      *container = &source_;
      source_.AddRef();
      return S_OK;
    }
    // Sinks of the event interface itself, or any IDispatch: Click is sent by DISPID.
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
      if (!sink || !cookie) return E_POINTER;
      *cookie = 0;
      if (source_.ide_->closed) return CONNECT_E_CANNOTCONNECT;
      com_ptr<IDispatch> events;
      if (FAILED(sink->QueryInterface(kCommandBarEventsIid, events.put_void())) &&
          FAILED(sink->QueryInterface(IID_IDispatch, events.put_void())))
        return CONNECT_E_CANNOTCONNECT;
      try {
        source_.sinks_.emplace_back(source_.nextCookie_, std::move(events));
      } catch (...) {
        return E_OUTOFMEMORY;
      }
      *cookie = source_.nextCookie_++;
      return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override {
      auto& sinks = source_.sinks_;
      auto found = std::find_if(sinks.begin(), sinks.end(),
                                [cookie](const auto& s) { return s.first == cookie; });
      if (found == sinks.end()) return CONNECT_E_NOCONNECTION;
      // The sink's release may call back into the list: take it out first.
      com_ptr<IDispatch> sink = std::move(found->second);
      sinks.erase(found);
      if (source_.ide_->refuseUnadvise) {
        source_.ide_->keptSinks.push_back(std::move(sink));
        return E_FAIL;
      }
      return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override {
      if (connections) *connections = nullptr;
      return E_NOTIMPL;
    }

   private:
    EventSource& source_;
  };

  void* FindMore(REFIID riid) override {
    return ::IsEqualIID(riid, IID_IConnectionPointContainer)
               ? static_cast<IConnectionPointContainer*>(this)
               : nullptr;
  }

  Point point_{*this};
  com_ptr<ControlObject> control_;
  std::vector<std::pair<DWORD, com_ptr<IDispatch>>> sinks_;
  DWORD nextCookie_ = 1;
};

namespace {

class EventsObject final : public IdeObject<EventsObject> {
 public:
  explicit EventsObject(IdePtr ide);
  static const Member kMembers[];
};

const EventsObject::Member EventsObject::kMembers[] = {
    {{L"CommandBarEvents", 1, Kind::kGet, 1},
     [](EventsObject& self, Call& call) {
       ControlObject* control = self.ide_->FindControl(call.Object(0));
       if (!control) RaiseInvalidArgument();
       auto source = Make<EventSource>(self.ide_, *control);
       call.Return(static_cast<IDispatch*>(source.get()));
     }},
};

EventsObject::EventsObject(IdePtr ide) : IdeObject(L"Events", kMembers, std::move(ide)) {}

}  // namespace

ClickResult FireClick(Ide& ide, ControlObject& control) {
  std::vector<com_ptr<IDispatch>> sinks;
  for (EventSource* source : ide.eventSources)
    if (source->Control() == &control)
      for (auto& sink : source->Sinks()) sinks.push_back(std::move(sink));

  // One handled and one CancelDefault, passed by reference to each sink in turn.
  VARIANT_BOOL handled = VARIANT_FALSE, cancelDefault = VARIANT_FALSE;
  com_ptr<ControlObject> keep(&control);
  for (const auto& sink : sinks) {
    VARIANT args[3];
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = &cancelDefault;
    args[1].vt = VT_BYREF | VT_BOOL;
    args[1].pboolVal = &handled;
    args[2].vt = VT_DISPATCH;
    args[2].pdispVal = &control;
    DISPPARAMS params{args, nullptr, 3, 0};
    sink->Invoke(kClick, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                 nullptr);
  }
  return {static_cast<int>(sinks.size()), handled != VARIANT_FALSE, cancelDefault != VARIANT_FALSE};
}

void DropSinks(Ide& ide) {
  // A sink's release may release its source, which leaves the list.
  std::vector<com_ptr<EventSource>> sources;
  for (EventSource* source : ide.eventSources) sources.emplace_back(source);
  for (const auto& source : sources) source->DropSinks();
}

com_ptr<IDispatch> MakeEvents(IdePtr ide) {
  return com_ptr<IDispatch>(Make<EventsObject>(std::move(ide)).get());
}

}  // namespace standin
