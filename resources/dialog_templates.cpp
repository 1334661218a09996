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
    {IDC_COPYPOVRAY, K::PushButton, "Copy to clipboard in POV-Ray fortmat", {61, 31, 148, 11}},
    {IDC_POVRAYTEXT, K::ReadOnlyField, "", {61, 44, 148, 12}},
    {IDC_TOPMOST, K::AutoCheckBox, "Always on top", {213, 2, 60, 10}},
    {IDC_COLORAREA, K::EtchedFrame, "", {212, 12, 59, 30}},
    {IDC_ZOOMLIST, K::DropDownList, "", {212, 44, 39, 99}},
    {ID_CANCEL, K::PushButton, "E&xit", {253, 44, 17, 13}},
};

constexpr DialogTemplate SAMPLER_TEMPLATE = {
    IDD_SAMPLER, "Tintgrabber", "MS Sans Serif", 8, 273, 58, true, SAMPLER_CONTROLS,
};

constexpr const DialogTemplate *TEMPLATES[] = {&SAMPLER_TEMPLATE};

} // namespace

const DialogTemplate &SamplerWindowTemplate()
{
    return SAMPLER_TEMPLATE;
}

const DialogTemplate *FindDialogTemplate(int id)
{
    for (const DialogTemplate *found : TEMPLATES) {
        if (found->id == id)
            return found;
    }
    return nullptr;
}
