// Tells whether the program runs under Wine rather than on Windows.
#pragma once

namespace kestrel {

// True when ntdll exports wine_get_version, which only Wine's ntdll does.
bool RunningUnderWine();

}  // namespace kestrel
