// The stock list's item model: after each kind of edit the model is
// consistent for its views (Qt's model tester watches every signal), and
// an index a view keeps (its expansion, its selection) still names the same
// node, or nothing once that node is gone.
#include <QAbstractItemModelTester>
#include <QTest>
#include <functional>

#include "codes/stock_code_model.h"
#include "support/strict_warnings.h"

using namespace sorvi;

class StockCodeModelTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void keptIndexesFollowEveryEdit();
};

void StockCodeModelTest::keptIndexesFollowEveryEdit() {
  using M = StockCodeModel;
  static constexpr NodePos kFirstOfB{1, 0}, kSecondOfB{1, 1};
  const auto drop = [](NodePos from, NodePos target) { return [=](M& m) { return m.Drop(from, target).has_value(); }; };
  const std::vector<std::pair<const char*, std::function<bool(M&)>>> edits = {
      {"group added", [](M& m) { return m.Add(NodePos{0}, true, "[N]") == NodePos{1}; }},
      {"stock added", [](M& m) { return m.Add(NodePos{1}, false, "9 n") == kFirstOfB; }},
      {"group duplicated", [](M& m) { return m.Duplicate(NodePos{0}) == NodePos{1}; }},
      {"empty group removed", [](M& m) { return m.Remove(NodePos{2}); }},
      {"stock removed", [](M& m) { return m.Remove(kSecondOfB); }},
      {"group onto a later one", drop(NodePos{0}, NodePos{2})},
      {"group onto an earlier one", drop(NodePos{2}, NodePos{0})},
      {"stock later in its group", drop(NodePos{1, 0}, NodePos{1, 2})},
      {"stock earlier in its group", drop(NodePos{1, 2}, NodePos{1, 0})},
      {"stock onto another group", drop(NodePos{1, 1}, NodePos{0})},
      {"stock onto another group's stock", drop(NodePos{0, 1}, NodePos{1, 2})},
  };
  for (const auto& [name, edit] : edits) {
    M model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.Reset({{{"[A]", {"1 a1", "2 a2"}}, {"[B]", {"3 b1", "4 b2", "5 b3"}}, {"[C]", {}}}});
    std::vector<std::pair<QPersistentModelIndex, QVariant>> kept;
    for (int g = 0; g < model.rowCount(); ++g) {
      for (int s = -1; s < model.rowCount(model.index(g, 0)); ++s) {
        const QModelIndex node = model.IndexOf(NodePos{g, s});
        kept.emplace_back(node, node.data());
      }
    }
    QVERIFY2(edit(model), name);
    // Only a removed node's index lets go.
    size_t gone = 0;
    for (const auto& [index, text] : kept) {
      if (!index.isValid()) ++gone;
      QVERIFY2(!index.isValid() || index.data() == text, name);
    }
    QCOMPARE(gone, size_t(QByteArray(name).contains("removed")));
  }
}

QTEST_GUILESS_MAIN(StockCodeModelTest)
#include "stock_code_model_test.moc"
