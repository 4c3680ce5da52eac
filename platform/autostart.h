#pragma once

// Whether the clock starts when the current user signs in, for that user
// only. On writes the entry that starts the running program, replacing an
// older one; off removes it (and succeeds when there is none). Returns false
// when the entry could not be written or removed.
bool setStartAtSignIn(bool on);
