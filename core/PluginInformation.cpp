#include "core/PluginInformation.h"

#include "core/RecordView.h"

void PluginInformation::fill(const PluginDefinition& d, const HostContext& c, void* record)
{
    const RecordView r(record);
    auto text = [&](size_t offset, size_t size, const PluginDefinition::Text& t) { r.setText(offset, size, t.text); };

    text(0, 64, d.makerShortName(c));
    text(64, 256, d.makerFullName(c));
    text(320, 256, d.familyIdentifier(c));
    text(576, 64, d.productIdentifier(c));
    text(640, 64, d.productName(c));
    text(704, 256, d.productLongName(c));
    text(960, 64, d.versionText());
    r.setU32(1024, d.versionNumber());
    r.setU32(1028, d.buildNumber());
    r.setU32(1032, d.productNumber());
    r.setU32(1036, d.productWord());
    for (int i = 1; i <= 7; ++i)
        r.setU32(1040 + 4 * size_t(i - 1), d.switchA(i));
    for (int i = 1; i <= 17; ++i)
        r.setU32(1068 + 4 * size_t(i - 1), d.switchB(i));
    r.setU32(1140, d.switchC1());
    r.setU32(1144, d.switchC2());
    r.setU32(1148, d.editorWidth());
    r.setU32(1152, d.editorHeight());
    text(1156, 1024, d.textD1(c));
    r.setU32(2180, d.wordD2());
    text(2184, 64, d.productIdentifierSecond(c));
    r.setFourCC(2300, d.productFourCC(c));
    r.setU32(2304, d.wordE1());
    text(2308, 1024, d.makerNames(c));
    r.setFourCC(3332, d.makerFourCC(c));
    text(3336, 1024, d.productNames(c));
    text(4360, 1024, d.textE2(c));
    r.setFourCC(6408, d.secondProductFourCC(c));
    r.setU32(6412, d.wordF1());
    for (int i = 2; i <= 11; ++i)
        r.setU32(6416 + 4 * size_t(i - 2), d.switchF(i));
    for (int i = 1; i <= 9; ++i)
        r.setU32(6456 + 4 * size_t(i - 1), d.wordG(i));
    for (int i = 10; i <= 15; ++i)
        r.setU32(6496 + 4 * size_t(i - 10), d.wordG(i));
    r.setU32(6520, d.switchG16());
    text(6524, 64, d.textH1(c));
    text(6588, 64, d.textH2(c));
    r.setFourCC(6652, d.componentTypeCode(c));
    r.setFourCC(6656, d.makerFourCC(c));
    r.setFourCC(6660, d.productFourCC(c));
    text(6664, 64, d.productName(c));
    r.setFourCC(6728, d.makerFourCC(c));
    r.setFourCC(6732, d.productFourCC(c));
    r.setU32(6736, d.wordJ1());
    text(6740, 1024, d.textJ2(c));
}
