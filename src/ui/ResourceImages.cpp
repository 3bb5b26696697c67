#include "ui/ResourceImages.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <memory>

// The resource file is compiled into a static library; register it explicitly
// so that executables linking the library normally still find the images.
static void InitLinvaraResources() { Q_INIT_RESOURCE(linvara); }

namespace linvara {
namespace {

void EnsureResources() {
  static const bool done = [] {
    InitLinvaraResources();
    return true;
  }();
  (void)done;
}

QString ResourcePath(const std::string& name) { return QStringLiteral(":/images/") + QString::fromStdString(name); }

// Shares one parsed drawing per resource.
std::shared_ptr<QSvgRenderer> Renderer(const QString& path) {
  static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
  auto it = cache.find(path);
  if (it != cache.end()) return it.value();
  auto renderer = std::make_shared<QSvgRenderer>(path);
  if (!renderer->isValid()) renderer.reset();
  cache.insert(path, renderer);
  return renderer;
}

QPixmap Render(const QString& path, QSize size, qreal ratio) {
  const QSize pixels = (QSizeF(size) * ratio).toSize();
  const QString key = QStringLiteral("linvara:%1@%2x%3").arg(path).arg(pixels.width()).arg(pixels.height());
  QPixmap pixmap;
  if (QPixmapCache::find(key, &pixmap)) return pixmap;
  auto renderer = Renderer(path);
  if (!renderer || pixels.isEmpty()) return {};
  QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer->render(&painter);
  }
  pixmap = QPixmap::fromImage(std::move(image));
  pixmap.setDevicePixelRatio(ratio);
  QPixmapCache::insert(key, pixmap);
  return pixmap;
}

// Renders the drawing at whatever size the widget asks, so icons stay sharp.
class SvgIconEngine : public QIconEngine {
 public:
  explicit SvgIconEngine(QString path) : path_(std::move(path)) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap pm = scaledPixmap(rect.size(), mode, state, ratio);
    painter->drawPixmap(rect, pm);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
    QPixmap pm = Render(path_, size, scale);
    if (mode == QIcon::Disabled && !pm.isNull()) {
      QImage faded = pm.toImage();
      QPainter p(&faded);
      p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
      p.fillRect(faded.rect(), QColor(0, 0, 0, 110));
      p.end();
      pm = QPixmap::fromImage(faded);
      pm.setDevicePixelRatio(scale);
    }
    return pm;
  }
  QIconEngine* clone() const override { return new SvgIconEngine(path_); }
  QString key() const override { return QStringLiteral("linvara-svg"); }

 private:
  QString path_;
};

}  // namespace

bool HasResourceImage(const std::string& name) {
  EnsureResources();
  return !name.empty() && QFile::exists(ResourcePath(name));
}

QIcon ResourceIcon(const std::string& name) {
  if (!HasResourceImage(name)) return {};
  return QIcon(new SvgIconEngine(ResourcePath(name)));
}

QPixmap ResourcePixmap(const std::string& name, QSize size, qreal devicePixelRatio) {
  if (!HasResourceImage(name)) return {};
  return Render(ResourcePath(name), size, devicePixelRatio);
}

}  // namespace linvara
