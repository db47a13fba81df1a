#pragma once
#include <string>

namespace platform {

// Without XDG_RUNTIME_DIR Qt warns on every start and picks a folder itself. Headless tools and
// test runs set a private one (mode 0700, owned by the user) when none is set, before the
// application object exists. Returns the folder in use, or an empty string if none could be made
// (Qt then falls back as before).
std::string EnsureRuntimeDir();

// Whether dir is a real folder (not a link) that user uid owns and nobody else may enter: the
// only kind Qt accepts and the only kind EnsureRuntimeDir reuses.
bool IsPrivateDirOf(const std::string& dir, unsigned uid);

} // namespace platform
