#pragma once
// Turning the fetched page into the saying.

// Rewrites Saying (this thread's, see saying_fetch.h): drops everything up
// to the end of the body tag and turns every markup tag into blanks.
void ExtractSaying();
