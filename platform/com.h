#pragma once
// Each thread that may speak runs in its own single-threaded COM apartment
// for its whole life. No-ops where there is no COM.
void initThreadApartment();
void uninitThreadApartment();
