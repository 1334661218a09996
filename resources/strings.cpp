#include "resources/strings.h"

#include "resources/resource_ids.h"

namespace
{

struct StringEntry {
    int id;
    const char *text; // UTF-8
};

constexpr StringEntry STRING_TABLE[] = {
    {IDS_ABOUTMENU, "&About Tintgrabber..."},
};

} // namespace

QString LoadResourceString(int id)
{
    for (const StringEntry &entry : STRING_TABLE) {
        if (entry.id == id)
            return QString::fromUtf8(entry.text);
    }
    return {};
}
