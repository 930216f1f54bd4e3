#pragma once
// How the web views put pages on screen, chosen once before the first view.
//
// Where OpenGL is only a software rasterizer (no graphics driver: remote
// desktops, virtual machines, a virtual X server), drawing the views with
// OpenGL costs more than drawing without: each frame of a page uploads and
// composes the whole window in software. There the views draw with Qt
// Quick's software renderer, which repaints only what changed. With a real
// graphics driver nothing changes.
#include <QByteArray>

namespace sorvi::web_engine {

// Whether an OpenGL renderer string names a software rasterizer.
bool IsSoftwareRasterizer(const QByteArray& gl_renderer);

// Picks the software renderer when OpenGL is a software rasterizer or not
// there at all, unless the user chose a backend (QT_QUICK_BACKEND,
// QSG_RHI_BACKEND). Once; needs the application object; must run before
// the first web view is made.
void ChooseSceneGraphBackend();

}  // namespace sorvi::web_engine
