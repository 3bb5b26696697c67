// The create-password sheet in the real window: a mismatch warns and empties
// the repeat field, matching passwords close it and open the password window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"

namespace linvara::testing {
namespace {

TEST(PasswordSheet, OnlyMatchingPasswordsCloseTheSheet) {
  GuiHome h;
  h.WriteSampleBookmarks();
  h.StartIn(outlets::kSafariBookMarkBtn);
  h.controller().SelectTableRows(TableId::Bookmarks, {static_cast<std::size_t>(h.RowOf("Weather"))});
  ASSERT_TRUE(h.controller().EncryptedSelectedBookMarkAction());
  OutletDialog* sheet = h.app->screen().window("CreatePWWindow");
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(sheet->isVisible() && sheet->windowModality() == Qt::WindowModal);
  QLineEdit* repeat = sheet->field("theConfirmPWLab");
  QTest::keyClicks(sheet->field("theCreatePWLab"), "pw");
  QTest::keyClicks(repeat, "px");
  QTest::mouseClick(sheet->button("Create"), Qt::LeftButton);
  EXPECT_TRUE(sheet->label(outlets::kWarnCreatedpasscodelab)->isVisible());
  EXPECT_EQ(repeat->text(), "");
  QTest::keyClicks(repeat, "pw");
  QTest::mouseClick(sheet->button("Create"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(h.app->screen().IsWindowVisible(outlets::kEnterPDWindow));
  EXPECT_TRUE(h.controller().encryption().HasStoredPassword());
}

}  // namespace
}  // namespace linvara::testing
