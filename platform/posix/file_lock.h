#pragma once

// Takes flock's exclusive lock on an open file without waiting, and tells
// whether another holder has it. A file system without locks (some network
// and FUSE mounts) fails flock in other ways; that counts as not held, and
// the file is then used without the lock between processes.
bool lockedElsewhere(int descriptor);
