#include "support/strict_warnings.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTest>

namespace sorvi::testing {
namespace {

// What the web engine says on its own, about nothing the program did; each
// is the start of such a message.
const QStringList kEngineNoise = {
    // The engine's own error page (a failed load, a refused certificate)
    // writes this to its console.
    QStringLiteral("crbug/1173575, non-JS module files deprecated."),
};

}  // namespace

void FailOnUnexpectedWarnings() {
  QStringList starts;
  for (const QString& noise : kEngineNoise) starts << QRegularExpression::escape(noise);
  // Any warning that does not begin with known noise.
  QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!%1)").arg(starts.join('|'))));
}

}  // namespace sorvi::testing
