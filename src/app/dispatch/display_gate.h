// The display gate: whether the external monitors may be touched now. It is
// closed in a remote session, and while another program holds the display,
// which it shows by the existence of a global mutex. Both mutexes belong to
// other software; the program only creates the first (open to every session)
// to look at the second under it.
#pragma once
#include <string_view>

#include "app/dispatch/dispatch_context.h"

namespace kestrel {

inline constexpr std::u16string_view kDisplayGateLockName = u"Global\\459CCB82-1B42-4c79-B926-A2D089B8A6A0";
inline constexpr std::u16string_view kDisplayHeldName = u"Global\\EB7361E9-C6DF-4a56-A087-9A1471DBADAB";
inline constexpr std::uint32_t kDisplayGateWaitMs = 1000;

bool DisplayGateClosed(DispatchContext& context);

}  // namespace kestrel
