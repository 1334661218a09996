#include "resources/dialog_template.h"

#include "resources/resource_ids.h"

namespace
{

using K = ControlKind;

constexpr ControlTemplate SAMPLER_CONTROLS[] = {
    {IDC_ZOOMAREA, K::EtchedFrame, "", {1, 2, 57, 55}},
    {IDC_COPYHASHHEX, K::PushButton, "#HTML", {61, 2, 41, 11}},
    {IDC_HASHHEXTEXT, K::ReadOnlyField, "", {61, 16, 41, 12}},
    {IDC_COPYHEX, K::PushButton, "HTML", {105, 2, 41, 11}},
    {IDC_HEXTEXT, K::ReadOnlyField, "", {105, 16, 41, 12}},
    {IDC_COPYRED, K::PushButton, "R", {149, 2, 18, 11}},
    {IDC_REDTEXT, K::ReadOnlyField, "", {149, 16, 18, 12}},
    {IDC_COPYGREEN, K::PushButton, "G", {170, 2, 18, 11}},
    {IDC_GREENTEXT, K::ReadOnlyField, "", {170, 16, 18, 12}},
    {IDC_COPYBLUE, K::PushButton, "B", {191, 2, 18, 11}},
    {IDC_BLUETEXT, K::ReadOnlyField, "", {191, 16, 18, 12}},
    {IDC_COPYPOVRAY, K::PushButton, "Copy to clipboard in POV-Ray format", {61, 31, 148, 11}},
    {IDC_POVRAYTEXT, K::ReadOnlyField, "", {61, 44, 148, 12}},
    {IDC_TOPMOST, K::AutoCheckBox, "Always on top", {213, 2, 60, 10}},
    {IDC_COLORAREA, K::EtchedFrame, "", {212, 12, 59, 30}},
    {IDC_ZOOMLIST, K::DropDownList, "", {212, 44, 39, 99}},
    {ID_CANCEL, K::PushButton, "E&xit", {253, 44, 17, 13}},
};

constexpr DialogTemplate SAMPLER_TEMPLATE = {
    IDD_SAMPLER, "Tintgrabber", "MS Sans Serif", 8, 273, 58, true, SAMPLER_CONTROLS,
};

// The addresses sit under the reserved example domain until the project has
// its own. Each link's text is also its target.
constexpr ControlTemplate ABOUT_CONTROLS[] = {
    {IDC_STATIC, K::StaticIcon, "", {12, 45, 20, 20}, IDI_ABOUTPIC},
    {IDC_VERSIONTEXT, K::StaticTextNoPrefix, "Tintgrabber 2.2", {40, 10, 119, 8}},
    {IDC_STATIC, K::StaticText, "Written by the tintgrabber developers", {40, 25, 170, 8}},
    {IDC_MAILLINK, K::LinkText, "mailto:info@example.org?subject=tintgrabber", {40, 41, 149, 8}},
    {IDC_WEBLINK, K::LinkText, "https://www.example.org/tintgrabber/", {40, 58, 63, 8}},
    {IDC_STATIC,
     K::StaticText,
     "To use the tint grabber click the color or zoom areas and drag over your screen.",
     {14, 88, 191, 18}},
    {IDC_STATIC,
     K::StaticText,
     "While dragging color area's background will be showing the selected color. The zoom "
     "window will display a detailed view of the selected area.",
     {14, 113, 191, 25}},
    {IDC_STATIC,
     K::StaticText,
     "When you select your color copy it by clicking the desired button.",
     {14, 146, 191, 18}},
    {ID_OK, K::DefaultPushButton, "OK", {178, 7, 32, 14}},
    {IDC_STATIC, K::GroupBox, "", {7, 104, 203, 38}},
    {IDC_STATIC, K::GroupBox, "", {7, 137, 203, 32}},
    {IDC_STATIC, K::StaticIcon, "", {11, 5, 20, 20}, IDI_APP},
    {IDC_STATIC, K::GroupBox, "Help", {7, 77, 203, 32}},
};

// Owned by the sampler window, so no task bar entry of its own.
constexpr DialogTemplate ABOUT_TEMPLATE = {
    IDD_ABOUT, "About Tintgrabber", "MS Sans Serif", 8, 217, 175, false, ABOUT_CONTROLS,
};

struct StringEntry {
    int id;
    const char *text; // UTF-8
};

constexpr StringEntry STRING_TABLE[] = {
    {IDS_ABOUTMENU, "&About Tintgrabber..."},
};

} // namespace

const DialogTemplate &samplerWindowTemplate()
{
    return SAMPLER_TEMPLATE;
}

const DialogTemplate &aboutWindowTemplate()
{
    return ABOUT_TEMPLATE;
}

QString LoadResourceString(int id)
{
    for (const StringEntry &entry : STRING_TABLE) {
        if (entry.id == id)
            return QString::fromUtf8(entry.text);
    }
    return {};
}
