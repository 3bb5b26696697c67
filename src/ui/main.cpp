#include <QApplication>
#include <QCommandLineParser>
#include <memory>

#include "app/AppDelegate.h"
#include "core/Version.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Linvara");
  QApplication::setApplicationVersion(QString::fromStdString(linvara::ApplicationVersion()));

  QCommandLineParser parser;
  parser.setApplicationDescription(QApplication::translate("main", "Manage the bookmarks and cookies of every browser."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption homeOption("home", QApplication::translate("main", "Use DIR as the home folder."), "DIR");
  QCommandLineOption layoutOption("layout", QApplication::translate("main", "Browser file layout: macos or linux."), "NAME");
  parser.addOption(homeOption);
  parser.addOption(layoutOption);
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

  linvara::AppDelegate controller(services);
  linvara::MainWindow window(controller);
  window.show();
  controller.applicationDidFinishLaunching();
  return app.exec();
}
