#include "core/PluginInformation.h"

#include "core/RecordView.h"

void PluginInformation::fill(const PluginDefinition& d, const HostContext& c, void* record)
{
    using Info = EntryProtocol::Layout::Information;
    const RecordView r(record);
    auto text = [&](EntryProtocol::TextField field, const PluginDefinition::Text& t) { r.setText(field, t.text); };

    text(Info::MakerShortName, d.makerShortName(c));
    text(Info::MakerFullName, d.makerFullName(c));
    text(Info::FamilyIdentifier, d.familyIdentifier(c));
    text(Info::ProductIdentifier, d.productIdentifier(c));
    text(Info::ProductName, d.productName(c));
    text(Info::ProductLongName, d.productLongName(c));
    text(Info::VersionText, d.versionText());
    r.set(Info::VersionNumber, d.versionNumber());
    r.set(Info::BuildNumber, d.buildNumber());
    r.set(Info::ProductNumber, d.productNumber());
    r.set(Info::ProductWord, d.productWord());
    for (int i = 1; i <= Info::SwitchACount; ++i)
        r.set(Info::switchA(i), d.switchA(i));
    for (int i = 1; i <= Info::SwitchBCount; ++i)
        r.set(Info::switchB(i), d.switchB(i));
    r.set(Info::SwitchC1, d.switchC1());
    r.set(Info::SwitchC2, d.switchC2());
    r.set(Info::EditorWidth, d.editorWidth());
    r.set(Info::EditorHeight, d.editorHeight());
    text(Info::TextD1, d.textD1(c));
    r.set(Info::WordD2, d.wordD2());
    text(Info::ProductIdentifierCopy, d.productIdentifierSecond(c));
    r.setFourCC(Info::ProductCode, d.productFourCC(c));
    r.set(Info::WordE1, d.wordE1());
    text(Info::MakerNames, d.makerNames(c));
    r.setFourCC(Info::MakerCode, d.makerFourCC(c));
    text(Info::ProductNames, d.productNames(c));
    text(Info::TextE2, d.textE2(c));
    r.setFourCC(Info::SecondProductCode, d.secondProductFourCC(c));
    r.set(Info::WordF1, d.wordF1());
    for (int i = 2; i <= 11; ++i)
        r.set(Info::switchF(i), d.switchF(i, c));
    for (int i = 1; i <= 15; ++i)
        r.set(Info::wordG(i), d.wordG(i));
    r.set(Info::SwitchG16, d.switchG16());
    text(Info::TextH1, d.textH1(c));
    text(Info::TextH2, d.textH2(c));
    r.setFourCC(Info::ComponentTypeCode, d.componentTypeCode(c));
    r.setFourCC(Info::MakerCodeCopy, d.makerFourCC(c));
    r.setFourCC(Info::ProductCodeCopy, d.productFourCC(c));
    text(Info::ProductNameCopy, d.productName(c));
    r.setFourCC(Info::MakerCodeThirdCopy, d.makerFourCC(c));
    r.setFourCC(Info::ProductCodeThirdCopy, d.productFourCC(c));
    r.set(Info::WordJ1, d.wordJ1());
    text(Info::TextJ2, d.textJ2(c));
}
