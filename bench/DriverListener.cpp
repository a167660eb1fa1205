// The hidden window that hears the completion broadcast.
#include "DriverSupport.h"

namespace brevalo::bench {

TimeUpListener::TimeUpListener()
    : window_({L"WM_TIME_UP"}, [this](UINT, ATOM atom) {
          // The time first: everything after it is the listener's own cost.
          const long long local = LocalNowTicks();
          const double steady = NowMs();
          std::wstring name = testsupport::AtomText(atom);
          if (atom)
              GlobalDeleteAtom(atom);
          arrivals_.push_back({local, steady, std::move(name)});
      }) {}

std::optional<TimeUpListener::Arrival> TimeUpListener::Find(const std::wstring& name) const {
    for (const Arrival& a : arrivals_)
        if (a.name == name)
            return a;
    return std::nullopt;
}

} // namespace brevalo::bench
