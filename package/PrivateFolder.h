// package/PrivateFolder.h -- the folder that key containers live in
#pragma once

#include <string>

namespace stellik {

enum class TPrivateFolder { Ready, Missing, Failed };

// Makes folder (with every missing level) when create is set, then makes sure it is fit to
// hold keys: a real folder, not a link, of this user, and open to nobody else. A folder
// with wider permissions is narrowed to 0700 (it may have been made by hand or by an older
// program), whether or not it was just made. A folder that belongs to another user is
// refused with an Exception that names it: its owner could read or replace every key.
TPrivateFolder PreparePrivateFolder(const std::string& folder, bool create);

} // namespace stellik
