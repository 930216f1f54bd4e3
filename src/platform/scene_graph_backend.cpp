#include "platform/scene_graph_backend.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <utility>

namespace sorvi::web_engine {

namespace {

// GL_RENDERER, read through a throwaway context; empty without OpenGL.
QByteArray OpenGlRenderer() {
  QOffscreenSurface surface;
  surface.create();
  QOpenGLContext context;
  if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) return {};
  const auto* name = context.functions()->glGetString(GL_RENDERER);
  QByteArray renderer = name ? QByteArray(reinterpret_cast<const char*>(name)) : QByteArray();
  context.doneCurrent();
  return renderer;
}

}  // namespace

bool IsSoftwareRasterizer(const QByteArray& gl_renderer) {
  const QByteArray name = gl_renderer.toLower();
  return name.contains("llvmpipe") || name.contains("softpipe") || name.contains("software rasterizer") ||
         name.contains("swiftshader") || name.contains("swrast");
}

void ChooseSceneGraphBackend() {
  static bool chosen = false;
  if (std::exchange(chosen, true)) return;
  if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") || qEnvironmentVariableIsSet("QSG_RHI_BACKEND")) return;
  const QByteArray renderer = OpenGlRenderer();
  if (renderer.isEmpty() || IsSoftwareRasterizer(renderer)) {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  }
}

}  // namespace sorvi::web_engine
