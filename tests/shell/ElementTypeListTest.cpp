// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "model/elements/ElementType.h"

#include <Xm/Xm.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/elements/AElement.h"
#include "model/format/FileKind.h"
#include "shell/DefaultTimesDialog.h"
#include "shell/ElementPopupMenu.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "tests/support/gui/ShellGui.h"
#include "toolkit/ReadInt.h"

namespace {

// The settings line of a key: "  KEY:" and the blanks that bring the value to its column.
std::string SettingsLine(const char* name, int blanks, const std::string& value) {
    return "  " + std::string(name) + ":" + std::string(static_cast<size_t>(blanks), ' ') + value;
}

// The names of the menu's children after its title and two separators, "-" for separators.
std::string MenuEntries(Widget menu) {
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(menu, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    std::string entries;
    for (Cardinal i = 3; i < count; i++) {
        if (!entries.empty()) entries += "|";
        const std::string name = XtName(children[i]);
        entries += name == "Separator" ? "-" : name;
    }
    return entries;
}

std::string RowEntries(const ElementRow& row) {
    std::string entries;
    for (int i = 0; i < kMenuRowLength && row.popup.items[i] != kItemEnd; i++) {
        if (!entries.empty()) entries += "|";
        const int item = row.popup.items[i];
        entries += item == kItemSeparator ? "-" : ElementMenuItemName(item);
    }
    return entries;
}

// The row's maker, also the one the file reader uses, makes an element of the row's kind.
void ExpectMakerAgrees(const ElementRow& row, MainWindow* main) {
    std::unique_ptr<AElement> made(MakeElement(row.name, main));
    ASSERT_EQ(made != nullptr, row.make != nullptr);
    if (made == nullptr) return;
    EXPECT_EQ(made->GetType(), row.type);
    EXPECT_STREQ(made->GetName(), row.name);
    EXPECT_EQ(made->GetInputCount(), row.inputs);
    EXPECT_EQ(made->GetOutputCount(), row.outputs);
    EXPECT_EQ(made->GetDefaultInputs(), row.inputs);
    EXPECT_EQ(made->GetDefaultOutputs(), row.outputs);
    EXPECT_EQ(made->GetTime(), row.builtInTime);
    int width = -1, height = -1;
    made->GetModifyWindowSize(width, height);
    EXPECT_EQ(width, row.modifyWidth);
    EXPECT_EQ(height, row.modifyHeight);
}

class ElementTypeListTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = testgui::TheShellGui().main;
        if (main == nullptr) GTEST_SKIP() << "no X display";
        ResetFileKinds();
        ResetDefaultTimes();
        main->GetLibraryWindow()->ApplyDefaultTimes();
    }

    MainWindow* main = nullptr;
};

// What every row says of its type is what the palette, the popup menus, the settings file, the
// "Default Times" dialog and the element the row makes show.
TEST_F(ElementTypeListTest, EveryTypeAgreesWithWhatTheProgramShowsAndWrites) {
    std::ostringstream settings;
    ASSERT_EQ(WriteDirectoriesOptions(settings), 0);
    ASSERT_EQ(WriteDefaultTimes(settings), 0);
    std::vector<std::string> lines;
    std::vector<std::string> timesLines; // the lines inside DEFAULT_TIMES
    std::istringstream written(settings.str());
    bool inTimes = false;
    for (std::string line; std::getline(written, line);) {
        if (inTimes && line == "}") inTimes = false;
        if (inTimes) timesLines.push_back(line);
        if (line == "DEFAULT_TIMES {") inTimes = true;
        lines.push_back(line);
    }
    auto has = [&lines](const std::string& line) {
        int found = 0;
        for (const std::string& l : lines)
            found += l == line ? 1 : 0;
        return found;
    };

    auto* dialog = new DefaultTimesDialog(main);
    PtrArray<AElement>& palette = main->GetLibraryWindow()->GetPalette();
    int palettePlace = 0;
    size_t timesCount = 0;
    uint32_t code = 0;
    for (const ElementRow& row : ElementRows()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.type, code++);
        EXPECT_EQ(FindElementRow(row.type), &row);
        EXPECT_STREQ(GetTypeName(row.type), row.name);
        EXPECT_EQ(FindElementType(row.name), static_cast<int>(row.type));

        ExpectMakerAgrees(row, main);

        if (row.inPalette) {
            ASSERT_LT(palettePlace, palette.GetCount());
            EXPECT_EQ(palette[palettePlace]->GetType(), row.type);
            EXPECT_EQ(palette[palettePlace]->GetTime(), row.builtInTime);
            palettePlace++;
        }

        Widget menu = main->GetPopupMenus().ForType(static_cast<int>(row.type));
        ASSERT_EQ(menu != nullptr, row.HasPopupMenu());
        if (menu != nullptr) {
            WidgetList children = nullptr;
            XtVaGetValues(menu, XmNchildren, &children, nullptr);
            EXPECT_STREQ(XtName(children[0]), row.name);
            EXPECT_EQ(MenuEntries(menu), RowEntries(row));
        }

        Widget field = dialog->GetField(static_cast<int>(row.type));
        ASSERT_EQ(field != nullptr, row.timesLine >= 0);
        if (row.timesLine >= 0) {
            timesCount++;
            int32_t shown = -1;
            EXPECT_TRUE(ReadIntGetValue(field, &shown));
            EXPECT_EQ(shown, static_cast<int32_t>(row.builtInTime));
            ASSERT_LT(static_cast<size_t>(row.timesLine), timesLines.size());
            EXPECT_EQ(timesLines[row.timesLine],
                      SettingsLine(row.name, row.timesBlanks, std::to_string(row.builtInTime)));
        }

        // An element file kind: its filter is written under the type's name, and only a type
        // with one loads and saves element files.
        const int blanks = 14 - static_cast<int>(std::string(row.name).size()) - 1;
        const std::string filterLine =
            SettingsLine(row.name, blanks,
                         row.fileKind != kNoFileKind ? DefaultFilterPattern(row.fileKind) : "");
        EXPECT_EQ(has(filterLine), row.fileKind != kNoFileKind ? 1 : 0);
        const std::string entries = RowEntries(row);
        EXPECT_EQ(entries.find("Save ...") != std::string::npos, row.fileKind != kNoFileKind);
    }
    EXPECT_EQ(palettePlace, palette.GetCount());
    EXPECT_EQ(timesCount, timesLines.size());
    dialog->Cancel();
}

} // namespace
