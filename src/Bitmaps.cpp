#include "Bitmaps.h"

BitmapCache::~BitmapCache() {
    for (auto& [id, bitmap] : loaded)
        if (bitmap) DeleteObject(bitmap);
}

HBITMAP BitmapCache::get(int id) {
    auto found = loaded.find(id);
    if (found != loaded.end()) return found->second;
    // Ids outside 16 bits name no resource; a failed load is remembered too.
    HBITMAP bitmap = id > 0 && id <= 0xFFFF
                         ? LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))
                         : nullptr;
    loaded.emplace(id, bitmap);
    return bitmap;
}
