#pragma once
#include <string>

// The user's configuration folder by the XDG base directory rules:
// $XDG_CONFIG_HOME when it is an absolute path, otherwise .config in the
// home folder ($HOME, or the account's when HOME is unset). The folder is
// made when it is missing (its parent must exist); a failure is not
// reported, and making a folder inside it fails later in its own way.
std::string userConfigFolder();
