#include "bench/BenchUtil.h"
#include "platform/com/ServerLibrary.h"
#include "treelist/SarvexIds.h"
#include "ui/Sarvex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <memory>
#include <vector>

// Figures of the tree-list control, created by class id and filled through
// dispatch calls as its container fills it: a tree of 10,000 keys (target
// under 200 ms), a list of 10,000 rows for the selected key (under 200 ms),
// and a heading click that sorts those rows (under 50 ms). Beside each, the
// same work done straight on a Qt tree widget in the same run.

namespace {

constexpr int kKeys = 10000;
constexpr int kGroups = 9;
constexpr int kRows = 10000;
constexpr int kRuns = 7;

struct Figures {
    std::vector<double> tree, list, sortNumber, sortText;
    std::vector<double> baseTree, baseList, baseSort;
};

double Ms(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

QString Row(int i)
{
    return QStringLiteral("%1,Project %2,%3").arg((i * 7919) % kRows).arg(i).arg(i % 97);
}

void Pump()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void ClickHeading(QTreeWidget* list, int column)
{
    QHeaderView* header = list->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(x, header->height() / 2));
}

void RunControl(Figures& figures)
{
    CSarvex host;
    if (!host.Create()) {
        std::printf("the control cannot be created (0x%08X)\n",
                    static_cast<unsigned>(host.LastResult()));
        std::exit(1);
    }
    host.resize(800, 600);
    host.show();
    (void)QTest::qWaitForWindowExposed(&host);
    Pump();
    auto* list = host.ControlWidget()->findChild<QTreeWidget*>(QStringLiteral("id202"));

    QElapsedTimer timer;
    timer.start();
    host.SetParent(QStringLiteral("root"), 0, 0, 1, QStringLiteral("Groups"), 0, 100, 0);
    for (int g = 1; g <= kGroups; ++g)
        host.SetChild(QStringLiteral("Group %1").arg(g), g, 0, 1, 1, QStringLiteral("Id"), 0, 80,
                      2);
    for (int key = kGroups + 1; key < kKeys; ++key)
        host.SetChild(QStringLiteral("Item %1").arg(key), key, 1 + key % kGroups, 0, 1,
                      QStringLiteral("Browse"), 0, 60, 4);
    host.ExpandNode(0, SarvexIds::kExpand);
    Pump();
    figures.tree.push_back(Ms(timer));

    host.AddCols(1, 1, 0, 1, QStringLiteral("Name"), 0, 200);
    host.AddCols(1, 1, SarvexIds::kNumericColumn, 1, QStringLiteral("Hours"), 1, 60);
    host.SetSelectKey(1);
    timer.restart();
    for (int i = 0; i < kRows; ++i)
        host.SetListStr(1, i, Row(i), 2);
    Pump();
    figures.list.push_back(Ms(timer));

    timer.restart();
    ClickHeading(list, 0);
    Pump();
    figures.sortNumber.push_back(Ms(timer));
    timer.restart();
    ClickHeading(list, 1);
    Pump();
    figures.sortText.push_back(Ms(timer));
    if (list->topLevelItemCount() != kRows)
        std::printf("the list shows %d rows, not %d\n", list->topLevelItemCount(), kRows);
}

// The same on a bare tree widget: items made and added one by one, and
// Qt's own sort of the list.
void RunBaseline(Figures& figures)
{
    QWidget window;
    window.resize(800, 600);
    auto* tree = new QTreeWidget(&window);
    tree->setGeometry(0, 0, 150, 600);
    auto* list = new QTreeWidget(&window);
    list->setGeometry(153, 0, 647, 600);
    list->setColumnCount(3);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    Pump();

    QElapsedTimer timer;
    timer.start();
    auto* root = new QTreeWidgetItem(QStringList{QStringLiteral("root")});
    tree->addTopLevelItem(root);
    std::vector<QTreeWidgetItem*> groups;
    for (int g = 1; g <= kGroups; ++g) {
        groups.push_back(new QTreeWidgetItem(QStringList{QStringLiteral("Group %1").arg(g)}));
        root->addChild(groups.back());
    }
    for (int key = kGroups + 1; key < kKeys; ++key)
        groups[static_cast<std::size_t>(key % kGroups)]->addChild(
            new QTreeWidgetItem(QStringList{QStringLiteral("Item %1").arg(key)}));
    root->setExpanded(true);
    Pump();
    figures.baseTree.push_back(Ms(timer));

    timer.restart();
    for (int i = 0; i < kRows; ++i)
        list->addTopLevelItem(new QTreeWidgetItem(Row(i).split(QLatin1Char(','))));
    Pump();
    figures.baseList.push_back(Ms(timer));

    timer.restart();
    list->sortItems(1, Qt::AscendingOrder);
    Pump();
    figures.baseSort.push_back(Ms(timer));
}

void Print(const char* what, const std::vector<double>& subject,
           const std::vector<double>& baseline, double targetMs)
{
    const double ms = MedianOf(subject);
    std::printf("%-40s %8.2f ms  baseline %8.2f ms  (target < %.0f ms) %s\n", what, ms,
                MedianOf(baseline), targetMs, ms < targetMs ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("KELVANE_CLASS_REGISTRY", (dir.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    QApplication app(argc, argv);

    CServerLibrary* library = nullptr;
    if (Failed(CServerLibrary::Load(QStringLiteral(KELVANE_SARVEX_PATH), &library)) ||
        Failed(library->RegisterServer())) {
        std::printf("libsarvex.so cannot be registered\n");
        return 1;
    }

    Figures figures;
    RunControl(figures); // warm-up
    RunBaseline(figures);
    figures = Figures{};
    for (int run = 0; run < kRuns; ++run) {
        RunControl(figures);
        RunBaseline(figures);
    }
    std::printf("Sarvex through dispatch, medians of %d runs\n", kRuns);
    Print("tree of 10,000 keys", figures.tree, figures.baseTree, 200);
    Print("list of 10,000 rows, shown as they come", figures.list, figures.baseList, 200);
    Print("heading sort, numeric column", figures.sortNumber, figures.baseSort, 50);
    Print("heading sort, text column", figures.sortText, figures.baseSort, 50);
    return 0;
}
