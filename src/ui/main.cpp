#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

#include "app/AppDelegate.h"
#include "core/Version.h"
#include "ui/LinvaraApp.h"
#include "ui/MainWindow.h"
#include "ui/Screenshot.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Linvara");
  QApplication::setApplicationVersion(QString::fromStdString(linvara::ApplicationVersion()));
  QApplication::setDesktopFileName("linvara");

  QCommandLineParser parser;
  parser.setApplicationDescription(QApplication::translate("main", "Manage the bookmarks and cookies of every browser."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption homeOption("home", QApplication::translate("main", "Use DIR as the home folder."), "DIR");
  QCommandLineOption layoutOption("layout", QApplication::translate("main", "Browser file layout: macos or linux."), "NAME");
  // Hidden: render the window into a PNG and quit (scripts/screenshot.sh).
  QCommandLineOption screenshotOption("screenshot", "Save a picture of the window to FILE and quit.", "FILE");
  screenshotOption.setFlags(QCommandLineOption::HiddenFromHelp);
  QCommandLineOption viewOption("view", "View shown in the screenshot.", "NAME", "all");
  viewOption.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(homeOption);
  parser.addOption(layoutOption);
  parser.addOption(screenshotOption);
  parser.addOption(viewOption);
  parser.process(app);

  linvara::Layout layout = linvara::HostLayout();
  if (parser.isSet(layoutOption)) {
    auto parsed = linvara::ParseLayout(parser.value(layoutOption).toStdString());
    if (!parsed) {
      fprintf(stderr, "linvara: unknown layout (use macos or linux)\n");
      return 2;
    }
    layout = *parsed;
  }
  linvara::AppServices services;
  if (parser.isSet(homeOption))
    services.locations = linvara::Locations::ForHome(parser.value(homeOption).toStdString(), layout);
  else if (parser.isSet(layoutOption))
    services.locations = linvara::Locations::ForHome(services.locations.home(), layout);
  services.preferences = std::make_shared<linvara::Preferences>(services.locations.preferencesFile());

  const std::string view = parser.value(viewOption).toStdString();
  if (parser.isSet(screenshotOption) && !linvara::IsScreenshotView(view)) {
    fprintf(stderr, "linvara: unknown view %s\n", view.c_str());
    return 2;
  }

  // Held for the whole process: a detached worker still running at quit may
  // still hold the controller, so it is never destroyed under it. Nothing needs
  // saving at exit; the dispatcher is closed so no worker waits on the window.
  auto* linvaraApp = new linvara::LinvaraApp(services);
  linvaraApp->Launch(true);

  if (parser.isSet(screenshotOption)) {
    const bool saved = linvara::TakeScreenshot(*linvaraApp, view, parser.value(screenshotOption));
    linvaraApp->Shutdown();
    if (!saved) fprintf(stderr, "linvara: could not write %s\n", qPrintable(parser.value(screenshotOption)));
    return saved ? 0 : 1;
  }

  QObject::connect(&app, &QApplication::aboutToQuit, [linvaraApp] { linvaraApp->Shutdown(); });
  return app.exec();
}
