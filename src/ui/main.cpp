#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>
#include <string>

#include "app/AppDelegate.h"
#include "core/Version.h"
#include "ui/LinvaraApp.h"
#include "ui/MainWindow.h"
#include "ui/Screenshot.h"
#include "update/UpdateManifest.h"

namespace {

struct Options {
  QCommandLineOption home{"home", QCoreApplication::translate("main", "Use DIR as the home folder."), "DIR"};
  QCommandLineOption layout{"layout", QCoreApplication::translate("main", "Browser file layout: macos or linux."),
                            "NAME"};
  QCommandLineOption chromeProfile{
      "chrome-profile",
      QCoreApplication::translate("main", "Read this Chrome profile (its folder name or the name Chrome shows)."),
      "NAME"};
  QCommandLineOption firefoxProfile{"firefox-profile",
                                    QCoreApplication::translate("main", "Read the Firefox profile in this folder."),
                                    "PATH"};
  QCommandLineOption updateUrl{"update-url",
                               QCoreApplication::translate("main", "Check for updates at URL (https, or http on a loopback address)."),
                               "URL"};
  // Hidden: render the window into a PNG and quit (scripts/screenshot.sh).
  QCommandLineOption screenshot{"screenshot", "Save a picture of the window to FILE and quit.", "FILE"};
  QCommandLineOption view{"view", "View shown in the screenshot.", "NAME", "all"};

  void addTo(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Manage the bookmarks and cookies of every browser."));
    parser.addHelpOption();
    parser.addVersionOption();
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    view.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({home, layout, chromeProfile, firefoxProfile, updateUrl, screenshot, view});
  }
};

void DescribeApplication() {
  QCoreApplication::setApplicationName("Linvara");
  QCoreApplication::setApplicationVersion(QString::fromStdString(linvara::ApplicationVersion()));
}

// --help and --version answer without a display.
bool AsksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" || arg == "--version")
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksForHelpOrVersion(argc, argv)) {
    QCoreApplication core(argc, argv);
    DescribeApplication();
    QCommandLineParser parser;
    Options options;
    options.addTo(parser);
    parser.process(core);  // prints and exits
    return 0;
  }

  QApplication app(argc, argv);
  DescribeApplication();
  QApplication::setDesktopFileName("linvara");
  // Translations of our texts (English is the source) and of Qt's own dialogs, when present.
  QTranslator ownTranslation;
  if (ownTranslation.load(QLocale(), "linvara", "_", ":/i18n")) app.installTranslator(&ownTranslation);
  QTranslator qtTranslation;
  if (qtTranslation.load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qtTranslation);
  QCommandLineParser parser;
  Options options;
  options.addTo(parser);
  parser.process(app);
  QCommandLineOption& homeOption = options.home;
  QCommandLineOption& layoutOption = options.layout;
  QCommandLineOption& screenshotOption = options.screenshot;
  QCommandLineOption& viewOption = options.view;

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
  services.locations = services.locations.WithOverrides(
      {parser.value(options.chromeProfile).toStdString(), parser.value(options.firefoxProfile).toStdString()});
  services.preferences = std::make_shared<linvara::Preferences>(services.locations.preferencesFile());
  // A screenshot makes no request.
  if (!parser.isSet(options.screenshot))
    services.updateManifestUrl = linvara::ResolveManifestUrl(parser.value(options.updateUrl).toStdString());

  const std::string view = parser.value(viewOption).toStdString();
  if (parser.isSet(screenshotOption) && !linvara::IsScreenshotView(view)) {
    fprintf(stderr, "linvara: unknown view %s\n", view.c_str());
    return 2;
  }

  // A detached worker still running at quit may still hold the controller, so
  // then it is left in place for the process exit rather than destroyed under
  // the worker. Nothing needs saving at exit; the dispatcher is closed first so
  // no worker waits on the window.
  auto* linvaraApp = new linvara::LinvaraApp(services);
  auto finish = [linvaraApp](int code) {
    linvaraApp->Shutdown();
    if (!linvaraApp->WorkersRunning()) delete linvaraApp;
    return code;
  };
  linvaraApp->Launch(true);

  if (parser.isSet(screenshotOption)) {
    const bool saved = linvara::TakeScreenshot(*linvaraApp, view, parser.value(screenshotOption));
    if (!saved) fprintf(stderr, "linvara: could not write %s\n", qPrintable(parser.value(screenshotOption)));
    return finish(saved ? 0 : 1);
  }

  QObject::connect(&app, &QApplication::aboutToQuit, [linvaraApp] { linvaraApp->Shutdown(); });
  return finish(app.exec());
}
