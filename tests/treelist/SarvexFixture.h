#pragma once

#include "platform/com/ServerLibrary.h"
#include "tests/support/TestEnv.h"
#include "tests/support/UserInput.h"
#include "treelist/SarvexIds.h"
#include "ui/Sarvex.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

// The control as its container has it: loaded by class id from this test's
// registry, embedded in the container's window, driven through CSarvex (one
// dispatch call per member) and heard through an event sink. What the user
// does is done with QTest on the control's child windows (ids 202-208).
class SarvexTest : public ::testing::Test {
protected:
    struct Heard {
        int event = 0;
        std::vector<std::int32_t> numbers;
        QString text;
    };

    static QString LibraryPath() { return QStringLiteral(KELVANE_SARVEX_PATH); }

    void SetUp() override
    {
        CServerLibrary* library = nullptr;
        ASSERT_EQ(CServerLibrary::Load(LibraryPath(), &library), kS_OK);
        ASSERT_EQ(library->RegisterServer(), kS_OK);
        for (int event = SarvexIds::kNotifyReady; event <= SarvexIds::kNotifyBrowseEvent; ++event)
            Listen(m_host, event);
    }

    void TearDown() override
    {
        m_host.DestroyControl();
        Pump();
    }

    // Made by class id and shown; NotifyReady has come when this returns.
    void Create(QSize size = QSize(500, 300))
    {
        ASSERT_TRUE(m_host.Create());
        m_host.resize(size);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
        Pump();
        ASSERT_EQ(Count(SarvexIds::kNotifyReady), 1);
    }

    void Listen(CSarvex& host, int event)
    {
        host.Events().SetHandler(event, [this, event](std::span<const Variant> args) {
            Heard heard;
            heard.event = event;
            for (const Variant& v : args) {
                std::int32_t n = 0;
                if (v.Type() == VarType::String)
                    v.ToQString(&heard.text);
                else if (Succeeded(v.ToLong(&n)))
                    heard.numbers.push_back(n);
            }
            m_heard.push_back(heard);
            if (const auto it = m_reactions.find(event); it != m_reactions.end())
                it->second(heard);
            return kS_OK;
        });
    }

    // What the container does when it hears the event.
    void OnEvent(int event, std::function<void(const Heard&)> reaction)
    {
        m_reactions[event] = std::move(reaction);
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    std::vector<Heard> Events(int event) const
    {
        std::vector<Heard> found;
        for (const Heard& h : m_heard) {
            if (h.event == event)
                found.push_back(h);
        }
        return found;
    }
    int Count(int event) const { return static_cast<int>(Events(event).size()); }
    Heard Last(int event) const
    {
        const auto found = Events(event);
        return found.empty() ? Heard{} : found.back();
    }
    void Forget() { m_heard.clear(); }

    // ---- The control's windows -------------------------------------------------
    template <typename W = QWidget>
    W* Pane(int id) const
    {
        QWidget* control = m_host.ControlWidget();
        return control ? control->findChild<W*>(QStringLiteral("id%1").arg(id)) : nullptr;
    }
    QTreeWidget* TreeWindow() const { return Pane<QTreeWidget>(203); }
    QTreeWidget* ListWindow() const { return Pane<QTreeWidget>(202); }
    QWidget* Splitter() const { return Pane(204); }
    // The browser window, unless it is on its way out.
    QTextBrowser* BrowserWindow() const
    {
        auto* browser = Pane<QTextBrowser>(208);
        return browser && !browser->isHidden() ? browser : nullptr;
    }

    // The tree item showing text, searched through the whole tree.
    QTreeWidgetItem* TreeItem(const QString& text) const
    {
        const auto found = TreeWindow()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    QPoint TreePoint(const QString& text) const
    {
        QTreeWidgetItem* item = TreeItem(text);
        EXPECT_TRUE(item) << text.toStdString();
        return item ? TreeWindow()->visualItemRect(item).center() : QPoint();
    }
    void ClickTree(const QString& text)
    {
        QTest::mouseClick(TreeWindow()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          TreePoint(text));
        Pump();
    }
    // As a hand makes it: a click, then the press the system reports as a
    // double-click, then its release.
    static void DoubleClick(QWidget* target, QPoint at)
    {
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at);
        Pump();
    }
    QPoint ListPoint(int row) const
    {
        return ListWindow()->visualItemRect(ListWindow()->topLevelItem(row)).center();
    }
    void ClickList(int row)
    {
        QTest::mouseClick(ListWindow()->viewport(), Qt::LeftButton, Qt::NoModifier, ListPoint(row));
        Pump();
    }
    void ClickHeading(int column)
    {
        QHeaderView* header = ListWindow()->header();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(x, header->height() / 2));
        Pump();
    }
    // The texts of one column of the list, top to bottom.
    QStringList ListColumn(int column) const
    {
        QStringList texts;
        for (int i = 0; i < ListWindow()->topLevelItemCount(); ++i)
            texts << ListWindow()->topLevelItem(i)->text(column);
        return texts;
    }
    QStringList Headings() const
    {
        QStringList texts;
        for (int i = 0; i < ListWindow()->columnCount(); ++i)
            texts << ListWindow()->headerItem()->text(i);
        return texts;
    }

    // Right-clicks at a point of a window and hands the popup to inspect,
    // which may trigger an action; the popup is closed afterwards.
    bool RightClickMenu(QWidget* target, QPoint at, const std::function<void(QMenu&)>& inspect)
    {
        return InspectPopup(
            [&] {
                QTest::mousePress(target, Qt::RightButton, Qt::NoModifier, at);
                QTest::mouseRelease(target, Qt::RightButton, Qt::NoModifier, at);
                Pump();
            },
            inspect);
    }
    static QStringList Texts(const QMenu& menu)
    {
        QStringList texts;
        for (const QAction* action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    static QAction* Action(const QMenu& menu, const QString& text)
    {
        for (QAction* action : menu.actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    // A tree as the employee overview builds it: root 0, groups 1-3 with a
    // list each ("Id" numeric, "Name" text), children from 5 with a row
    // "id,name" in their group's list.
    void BuildGroups()
    {
        m_host.SetParent(QStringLiteral("jbloggs"), 0, 0, 1, QStringLiteral("Projects"), 0, 100, 0);
        const QStringList groups{QStringLiteral("My Projects"), QStringLiteral("My TimeSheets"),
                                 QStringLiteral("My Comments")};
        for (int g = 1; g <= 3; ++g) {
            m_host.SetChild(groups[g - 1], g, 0, 1, 1, QStringLiteral("Id"), 0, 80, 2 * g);
            m_host.AddCols(g, g, 0, 1, QStringLiteral("Name"), 0, 200);
        }
        int key = 5;
        const auto add = [&](int group, int id, const QString& name) {
            m_host.SetChild(name, key, group, 0, 1, QStringLiteral("Browse"), 0, 60, 2 * group);
            m_host.SetListStr(group, key, QStringLiteral("%1,%2").arg(id).arg(name), 2 * group);
            ++key;
        };
        add(1, 9, QStringLiteral("Gamma"));
        add(1, 10, QStringLiteral("Alpha"));
        add(1, 7, QStringLiteral("Beta"));
        add(2, 10, QStringLiteral("Week 10"));
        add(2, 11, QStringLiteral("Week 11"));
        add(3, 7, QStringLiteral("Note"));
    }

    CSarvex m_host;
    std::vector<Heard> m_heard;
    std::map<int, std::function<void(const Heard&)>> m_reactions;
};
