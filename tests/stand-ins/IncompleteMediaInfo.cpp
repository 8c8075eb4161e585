// A stand-in for the media-information library that exports only some of its entry
// points: the loader must refuse it and never call through it.
#include <cstddef>

extern "C" {
__attribute__((visibility("default"))) void *MediaInfo_New()
{
    static int handle;
    return &handle;
}
__attribute__((visibility("default"))) void MediaInfo_Delete(void *) {}
__attribute__((visibility("default"))) size_t MediaInfo_Open(void *, const wchar_t *)
{
    return 1;
}
}
