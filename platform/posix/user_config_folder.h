#pragma once
#include <optional>
#include <string>

// The user's configuration folder by the XDG base directory rules:
// $XDG_CONFIG_HOME when it is an absolute path, made with every missing
// parent; otherwise .config in the home folder ($HOME, or the account's when
// HOME is unset), made when it is missing (the home folder must exist).
// Folders are made for the user alone (0700); a failure is not reported, and
// making a folder inside it fails later in its own way. None when there is
// neither an absolute XDG_CONFIG_HOME nor a home folder.
std::optional<std::string> userConfigFolder();
