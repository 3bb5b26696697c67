#pragma once
// Images of the application's resource set, by the resource names the
// controller uses ("homebtn.png", "folderlogo", ...). The files are SVG
// drawings; they are rendered at the size asked for and cached.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <string>

namespace linvara {

// True when the resource set holds an image of this name.
bool HasResourceImage(const std::string& name);
// The image as an icon (rendered for the usual sizes); a null icon for an unknown name.
QIcon ResourceIcon(const std::string& name);
// The image rendered at `size` device-independent pixels for the given pixel ratio.
QPixmap ResourcePixmap(const std::string& name, QSize size, qreal devicePixelRatio = 1.0);

}  // namespace linvara
