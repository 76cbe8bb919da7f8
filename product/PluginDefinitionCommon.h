#pragma once
#include "core/PluginDefinition.h"

// The layer shared by the maker's products: the maker's names and codes.
class PluginDefinitionCommon : public PluginDefinition {
public:
    Text makerShortName(const HostContext&) const override { return {1, "Quillex"}; }
    Text makerFullName(const HostContext&) const override { return {1, "Quillex, Inc."}; }
    Text familyIdentifier(const HostContext&) const override { return {1, "com.quillex.tw.plugins"}; }
    Text makerNames(const HostContext&) const override
    {
        return {1, "Quillex, Inc.\nQuillex Inc\nQuillex\nQlex\nQx"};
    }
    Util::String makerFourCC(const HostContext&) const override { return "Qlex"; }
};
