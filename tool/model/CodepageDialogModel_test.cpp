#include "tool/model/CodepageDialogModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tool/model/ToolTestSupport_test.h"

namespace tool {
namespace {

using Texts = std::vector<std::u16string>;

// A language file of the test's own beside the sandbox's registry.
std::string WriteLanguageFile(const std::string& folder, const std::string& items, const std::string& numbers) {
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/Language.ini";
  std::ofstream(path, std::ios::binary) << "[LanguageCollect]\r\nList=1033\r\nDefaultLanguageID=1033\r\n"
                                        << "CodepageIDList=" << numbers << "\r\n[1033]\r\n"
                                        << "FormSetCodepage_cmbCodepage_Items=" << items << "\r\n";
  return path;
}

class CodepageDialogModelTest : public ::testing::Test {
 protected:
  // Each case gets its own sandbox (and so its own language file).
  struct Run {
    std::string folder = Folder();
    tooltest::ToolSandbox tool;
    CodepageDialogModel dialog;
    Run(const std::string& items, const std::string& numbers, const char16_t* current)
        : tool(u"TARROW", WriteLanguageFile(folder, items, numbers)), dialog(tool.context()) {
      tool.AddPrinter(u"TRAIL-3_01", u"TarrowOposPrinterU1.13");
      tool.context().selectedKeyPath = Key();
      if (current != nullptr) tool.registry().WriteString(Key(), u"CodepageID", current);
      dialog.Show();
    }
    ~Run() {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
    std::u16string Key() const { return tool.PrinterClass() + u"\\TRAIL-3_01"; }
    std::u16string Codepage() { return tool.registry().ReadString(Key(), u"CodepageID"); }
    static std::string Folder() {
      static int counter = 0;
      return (std::filesystem::temp_directory_path() /
              ("zobelso_codepage_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               std::to_string(++counter)))
          .string();
    }
  };
};

TEST_F(CodepageDialogModelTest, ThePrintersCodepageIsSelectedOrElseTheFirstEntry) {
  struct Case {
    const char16_t* current;  // null: no CodepageID value
    int selected;
  };
  const Case cases[] = {{u"936", 2}, {u"850", 1}, {u"1252", 0}, {u"", 0}, {nullptr, 0}, {u"0936", 0}};
  for (const Case& c : cases) {
    Run run("PC437,PC850,GBK", "437,850,936", c.current);
    EXPECT_EQ(run.dialog.codepage().items, (Texts{u"PC437", u"PC850", u"GBK"}));
    EXPECT_EQ(run.dialog.codepage().selected, c.selected) << (c.current ? "set" : "missing");
    EXPECT_EQ(run.dialog.texts().caption, u"Set Codepage");
  }
}

TEST_F(CodepageDialogModelTest, OkWritesTheNumberPairedWithTheChosenName) {
  Run run("PC437,PC850,GBK", "437,850,936", u"437");
  run.dialog.OnCodepageChanged(2);
  run.dialog.OnOk();
  EXPECT_TRUE(run.dialog.saved());
  EXPECT_EQ(run.Codepage(), u"936");
}

TEST_F(CodepageDialogModelTest, ANameWithoutANumberOrAnEmptyListWritesNothing) {
  Run longer("PC437,PC850,GBK", "437,850", u"850");
  EXPECT_EQ(longer.dialog.codepage().selected, 1);
  longer.dialog.OnCodepageChanged(2);
  longer.dialog.OnOk();
  EXPECT_FALSE(longer.dialog.saved());
  EXPECT_EQ(longer.Codepage(), u"850");

  Run empty("", "437", u"850");
  EXPECT_TRUE(empty.dialog.codepage().items.empty());
  EXPECT_EQ(empty.dialog.codepage().selected, -1);
  empty.dialog.OnOk();
  EXPECT_EQ(empty.Codepage(), u"850");
}

}  // namespace
}  // namespace tool
