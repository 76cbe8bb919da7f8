#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "ui/Canvas.h"
#include "ui/LayoutLoader.h"
#include "ui/RadudarLabel.h"
#include "util/Log.h"

#include <filesystem>
#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;

// A window that keeps the metrics 0 to 2 it is given.
class MetricProbe : public UI::Window {
public:
    using Window::Window;
    bool setMetric(int index, int value) override
    {
        if (index > 2)
            return Window::setMetric(index, value);
        metrics[index] = value;
        return true;
    }
    std::map<int, int> metrics;
};

struct LayoutFixture : ::testing::Test {
    LayoutFixture()
    {
        canvas.maker().registerType("Test Probe", [](UI::Canvas&, UI::Window& parent, const Util::String& name) -> UI::Window& {
            return UI::Window::create<MetricProbe>(parent, name);
        });
        panel.setFrame(10, 20, 30, 40);
        label.setFrame(0, 0, 100, 20);
    }

    // The messages written since `from` (the log is one capture for the test).
    std::vector<Util::String> reportsSince(size_t from) const
    {
        const auto all = log.messages();
        return std::vector<Util::String>(all.begin() + std::ptrdiff_t(std::min(from, all.size())), all.end());
    }

    bool apply(const std::string& body, UI::Window* target = nullptr)
    {
        return UI::LayoutLoader(canvas).apply("<QxCanvasLayout-1>" + body + "</QxCanvasLayout-1>", "test",
                                              target ? target : &canvas);
    }

    Util::Log::Capture log;
    UI::Canvas canvas{470, 276};
    UI::Window& panel = UI::Window::create<UI::Window>(canvas, "Panel");
    UI::Radudar::Label& label = UI::Window::create<UI::Radudar::Label>(panel, "Label", "unchanged");
};

void writeFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST_F(LayoutFixture, FormatVersion2IsRejected)
{
    EXPECT_FALSE(UI::LayoutLoader(canvas).apply(
        R"(<QxCanvasLayout-2><NewChild Name="New" Type="Window"/></QxCanvasLayout-2>)", "test", &canvas));
    EXPECT_EQ(log.messages(), std::vector<Util::String>{"Invalid document type: QxCanvasLayout-2"});
    EXPECT_EQ(canvas.findWindow("New"), nullptr);
}

TEST_F(LayoutFixture, AMissingChildIsReportedAndSkippedWithItsContentWhileItsSiblingsApply)
{
    EXPECT_TRUE(apply(R"(<Child Name="Ghost" X="1"><NewChild Name="Inside" Type="Window"/></Child>
                         <Child Name="Panel" X="5" Y="6" Width="7" Height="8"/>)"));
    EXPECT_EQ(log.messages(), std::vector<Util::String>{"Child Ghost not found"});
    EXPECT_EQ(canvas.findWindow("Inside"), nullptr);
    EXPECT_EQ(panel.frame(), UI::Rect::fromSize(5, 6, 7, 8));
    EXPECT_EQ(panel.layoutSize(), std::make_pair(7, 8));
}

TEST_F(LayoutFixture, HiddenFollowsTheRulesAcrossApplications)
{
    struct Step {
        const char* hiddenAttribute; // nullptr: no attribute
        bool hiddenByCodeBefore;
        bool expectHidden;
        bool expectMark;
    };
    const Step steps[] = {
        {R"(Hidden="true")", false, true, true},   // hides and marks
        {nullptr, false, false, false},            // no attribute: shown again, mark cleared
        {R"(Hidden="false")", false, false, false}, // on a visible window: nothing
        {R"(Hidden="true")", false, true, true},
        {R"(Hidden="false")", false, true, true},  // any other value changes nothing
        {R"(Hidden="yes")", false, true, true},
        {nullptr, false, false, false},
        {nullptr, true, true, false},              // hidden by code, not by a layout: stays hidden
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        if (s.hiddenByCodeBefore)
            panel.hide();
        apply(std::string("<Child Name=\"Panel\" ") + (s.hiddenAttribute ? s.hiddenAttribute : "") + "/>");
        EXPECT_EQ(panel.isHidden(), s.expectHidden) << "step " << i;
        EXPECT_EQ(panel.hiddenByLayout(), s.expectMark) << "step " << i;
    }
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(LayoutFixture, MissingFrameAttributesKeepTheirValues)
{
    struct Case {
        const char* attributes;
        UI::Rect expected;
    };
    const Case cases[] = {
        {R"(X="3")", UI::Rect::fromSize(3, 20, 30, 40)},
        {R"(Y="-4")", UI::Rect::fromSize(10, 20, 30, 40)}, // only X or Width moves a window
        {R"(X="0" Y="-4")", UI::Rect::fromSize(0, -4, 30, 40)},
        {R"(Width="12")", UI::Rect::fromSize(10, 20, 12, 40)},
        {R"(Width="6" Height="+5")", UI::Rect::fromSize(10, 20, 6, 5)},
        {R"(X="1" Height="5")", UI::Rect::fromSize(1, 20, 30, 5)},
        {R"(X="2" Y="oops")", UI::Rect::fromSize(2, 20, 30, 40)},
    };
    for (const auto& c : cases) {
        panel.setFrame(10, 20, 30, 40);
        apply(std::string("<Child Name=\"Panel\" ") + c.attributes + "/>");
        EXPECT_EQ(panel.frame(), c.expected) << c.attributes;
    }
}

TEST_F(LayoutFixture, MetricAttributesStopAtTheFirstMissingIndex)
{
    struct Case {
        const char* attributes;
        std::map<int, int> expected;
    };
    const Case cases[] = {
        {R"(Metric0="4" Metric2="9")", {{0, 4}}},
        {R"(Metric0="4" Metric1="-2" Metric2="9")", {{0, 4}, {1, -2}, {2, 9}}},
        {R"(Metric0="4" Metric1="x" Metric2="9")", {{0, 4}}},
        {R"(Metric1="4")", {}},
    };
    for (const auto& c : cases) {
        apply(std::string("<NewChild Name=\"Probe\" Type=\"Test Probe\" ") + c.attributes + "/>");
        auto* probe = dynamic_cast<MetricProbe*>(canvas.children().back().get());
        ASSERT_NE(probe, nullptr);
        EXPECT_EQ(probe->metrics, c.expected) << c.attributes;
    }
    EXPECT_TRUE(log.messages().empty());
    apply(R"(<Child Name="Panel" Metric0="1"/>)");
    EXPECT_EQ(log.messages(), std::vector<Util::String>{"Unimplemented Metric0 on 'Panel'"});
}

TEST_F(LayoutFixture, PropertiesApplyByTypeAndEveryProblemIsReported)
{
    struct Case {
        const char* property;
        const char* report; // nullptr: applies without a report
    };
    const Case cases[] = {
        {R"(<Property Name="Text" Type="Colour" Value="red"/>)", R"(Unhandled property type "Colour")"},
        {R"(<Property Name="Style" Type="String" Value="Bright"/>)",
         R"(Deserializing property "Style" failed because type "LabelStyle" does not match specified type "String" .)"},
        {R"(<Property Name="Bold" Type="Bool" Value="maybe"/>)",
         R"(Deserializing property "Bold" of type "Bool" and value "maybe" failed.)"},
        {R"(<Property Name="Style" Type="LabelStyle" Value="Loud"/>)",
         R"(Deserializing property "Style" of type "LabelStyle" and value "Loud" failed.)"},
        {R"(<Property Name="Nope" Type="String" Value="x"/>)", R"(Could not find property "Nope" to serialize)"},
        {R"(<Property Name="Text" Value="no type"/>)", nullptr},
        {R"(<Property Type="String" Value="no name"/>)", nullptr},
    };
    for (const auto& c : cases) {
        const size_t before = log.messages().size();
        apply(std::string(R"(<Child Name="Panel"><Child Name="Label">)") + c.property + "</Child></Child>");
        if (c.report)
            EXPECT_EQ(reportsSince(before), std::vector<Util::String>{c.report}) << c.property;
        else
            EXPECT_TRUE(reportsSince(before).empty()) << c.property;
        EXPECT_EQ(label.text(), "unchanged") << c.property;
    }

    // Good properties apply after the element's children, and a bad one does
    // not stop the others.
    apply(R"(<Child Name="Panel"><Child Name="Label">
               <Property Name="Text" Type="String" Value="applied"/>
               <Property Name="Bold" Type="Widget" Value="true"/>
               <Property Name="Style" Type="LabelStyle" Value="Bright"/></Child></Child>)");
    EXPECT_EQ(label.text(), "applied");
    EXPECT_EQ(*label.propertyText("Style"), "Bright");
}

TEST_F(LayoutFixture, ElementsAndChildrenAreFoundAndMadeAsTheFormatSays)
{
    EXPECT_TRUE(apply(R"(<NewChild Name="Made" Type="No Such Type"/>
                         <NewChild Name="Untyped"/>
                         <Frame/>
                         <!-- a comment -->
                         <Child X="2">Panel</Child>
                         <NewChild Name="Made" Type="Radudar Label" X="1" Y="2" Width="3" Height="4"/>)"));
    EXPECT_EQ(log.messages(), (std::vector<Util::String>{"Could not create child Made of type No Such Type",
                                                          "Unknown element \"Frame\""}));
    EXPECT_EQ(canvas.findWindow("Untyped"), nullptr);
    EXPECT_EQ(panel.frame().left, 2);
    auto* made = dynamic_cast<UI::Radudar::Label*>(canvas.findChild("Made"));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->createdByLayout());
    EXPECT_TRUE(made->layoutName().empty());
    EXPECT_EQ(made->frame(), UI::Rect::fromSize(1, 2, 3, 4));
}

TEST_F(LayoutFixture, WithoutATargetWindowChildrenAreFoundAcrossTheCanvasInCreationOrder)
{
    auto& deep = UI::Window::create<UI::Window>(panel, "Twin");
    auto& shallow = UI::Window::create<UI::Window>(canvas, "Twin");
    EXPECT_TRUE(UI::LayoutLoader(canvas).apply(R"(<QxCanvasLayout-1><Child Name="Twin" X="7"/></QxCanvasLayout-1>)",
                                               "test", nullptr));
    EXPECT_EQ(deep.frame().left, 7);
    EXPECT_NE(shallow.frame().left, 7);
    // Applied to the canvas, only its direct children count.
    apply(R"(<Child Name="Twin" X="9"/>)");
    EXPECT_EQ(shallow.frame().left, 9);
}

TEST_F(LayoutFixture, LayoutFilesComeFromTheDiskFolderFirstThenTheTable)
{
    EXPECT_FALSE(canvas.loadLayout("ui/layout/layout_mainwindow.layout", &canvas));
    EXPECT_EQ(log.messages(),
              std::vector<Util::String>{"Can't load media layout [ui/layout/layout_mainwindow.layout]. This is case-sensitive."});

    const fs::path folder = TestSupport::makeTempFolder("layouts");
    canvas.setLayoutDiskFolder(folder.string());
    size_t before = log.messages().size();
    canvas.setLayoutName("Layout_Probe");
    EXPECT_FALSE(canvas.applyLayout(canvas));
    EXPECT_EQ(reportsSince(before),
              (std::vector<Util::String>{"File " + (folder / "UI/Layout/Layout_Probe.layout").string() + " does not exist",
                                         "Can't load media layout [UI/Layout/Layout_Probe.layout]. This is case-sensitive."}));

    // A nested layout names another file, applied to the element's window.
    writeFile(folder / "UI/Layout/Layout_Probe.layout",
              R"(<QxCanvasLayout-1><Child Name="Panel" Layout="Inner"/></QxCanvasLayout-1>)");
    writeFile(folder / "UI/Layout/Inner.layout", R"(<QxCanvasLayout-1 X="33"><Child Name="Label" Width="44"/></QxCanvasLayout-1>)");
    before = log.messages().size();
    EXPECT_TRUE(canvas.applyLayout(canvas));
    EXPECT_TRUE(reportsSince(before).empty());
    EXPECT_EQ(panel.frame().left, 33);
    EXPECT_EQ(label.width(), 44);
    EXPECT_EQ(panel.layoutName(), "Inner");
    EXPECT_TRUE(panel.layoutFromFile());

    // A layout that names itself stops instead of looping.
    writeFile(folder / "UI/Layout/Inner.layout", R"(<QxCanvasLayout-1 Layout="Inner"/>)");
    before = log.messages().size();
    EXPECT_TRUE(canvas.applyLayout(canvas));
    EXPECT_EQ(reportsSince(before), std::vector<Util::String>{"Layout Inner is nested too deeply"});
}
