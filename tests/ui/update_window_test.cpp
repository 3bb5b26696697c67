// The update windows on screen: the launch's check finds a newer version, the
// user's check finds none.
#include <QAction>
#include <QLabel>
#include <QAbstractButton>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "health/LoopbackHttpServer.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"

namespace linvara::testing {
namespace {

std::string Manifest(const std::string& version) {
  return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>lastestVersion</key><string>" + version +
         "</string><key>WhatsNew</key><string>Faster*Smaller*Safer</string></dict></plist>";
}

TEST(UpdateWindows, EachCheckShowsTheWindowOfWhatItFound) {
  LoopbackHttpServer server;
  server.Answer("/newer", Manifest("999.0"));
  GuiHome h;
  h.updateUrl = server.url("/newer");
  QtScreen& screen = h.Start().screen();

  ASSERT_TRUE(WaitUntil([&] { return screen.IsWindowVisible("UpdateWindow"); }));
  OutletDialog* update = screen.window("UpdateWindow");
  EXPECT_EQ(update->label("newversionlab")->text().toStdString(), "Linvara 999.0 is available.");
  EXPECT_EQ(update->label("currentversionlab")->text().toStdString(),
            "You are using " + PRUpdateController::ProjectVersion() + " version. Would you like to download it now?");
  auto* notes = update->findChild<QPlainTextEdit*>("whatsnewContentView");
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(notes->document()->blockCount(), 3) << notes->toPlainText().toStdString();
  update->button("Download")->click();
  EXPECT_EQ(h.platform->openedUrls, std::vector<std::string>{"https://www.zelvane.com/linvara.html"});
  update->button("Not Now")->click();
  EXPECT_FALSE(screen.IsWindowVisible("UpdateWindow"));

  // The manifest now names this version; the menu command says so.
  server.Answer("/newer", Manifest(PRUpdateController::ProjectVersion()));
  QAction* check = nullptr;
  for (QAction* menu : h.window().menuBar()->actions())
    for (QAction* entry : menu->menu()->actions())
      if (entry->text() == QString::fromUtf8("Check for Updates…")) check = entry;
  ASSERT_NE(check, nullptr);
  check->trigger();
  ASSERT_TRUE(WaitUntil([&] { return screen.IsWindowVisible("noUpdateWindow"); }));
  EXPECT_FALSE(screen.IsWindowVisible("UpdateWindow"));
  screen.window("noUpdateWindow")->button("OK")->click();
  EXPECT_FALSE(screen.IsWindowVisible("noUpdateWindow"));
}

}  // namespace
}  // namespace linvara::testing
