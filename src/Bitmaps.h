// The executable's bitmap resources, each loaded once and kept until the
// cache goes, so that painting over and over uses no new GDI objects.
#pragma once

#include <windows.h>

#include <map>

class BitmapCache {
public:
    BitmapCache() = default;
    ~BitmapCache();
    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;

    // The bitmap with this resource id, or null when the module has none.
    HBITMAP get(int id);

private:
    std::map<int, HBITMAP> loaded;
};
