#pragma once

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "tests/records/ListWindowProbe.h"
#include "tests/support/TestEnv.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/Utilities.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QTreeWidgetItem>

#include <memory>

// The user's short formats of the windows: dates as 05/03/26, times as 14:00.
inline void UseShortFormats()
{
    CRegionalFormats formats;
    formats.dateFormat = QStringLiteral("%d/%m/%y");
    formats.timeFormat = QStringLiteral("%H:%M");
    SetRegionalFormats(formats);
}

// The hub over the facade of a database fixture (Base, with its m_db),
// opening one window of the program by its command, and what the tests of
// that window do with it. The window's factory is registered by StartHub.
template <typename Base, typename Window, int kCommand>
class HubWindowTest : public Base {
protected:
    using Base::Base;

    void StartHub(HubWindowFactory factory)
    {
        RegisterHubWindow(kCommand, std::move(factory));
        m_hub = std::make_unique<CDummyDlg>(&this->m_db);
    }
    void TearDown() override
    {
        m_hub.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        UnregisterHubWindow(kCommand);
        Base::TearDown();
    }

    // ---- The window ----------------------------------------------------------------------
    // The hub's command opens it.
    void Open()
    {
        m_hub->OnCommand(kCommand);
        m_window = dynamic_cast<Window*>(m_hub->Window(kCommand));
        ASSERT_NE(m_window, nullptr) << Messages().join(QLatin1Char('|')).toStdString();
        m_window->resize(1100, 500);
        QCoreApplication::processEvents();
    }
    void Close()
    {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_window = nullptr;
    }
    QComboBox* Combo(int id) const { return m_window->template Control<QComboBox>(id); }
    // Chooses an entry of a combo as the user does.
    void Choose(int id, const QString& text)
    {
        QComboBox* combo = Combo(id);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        m_window->OnCommand(id);
    }
    void SelectNode(const QString& text)
    {
        QTreeWidgetItem* item = m_window->Tree()->FindItemByText(text);
        ASSERT_NE(item, nullptr) << text.toStdString();
        m_window->Tree()->setCurrentItem(item);
    }
    // The texts of the tree root's children.
    QStringList Nodes() const
    {
        QStringList names;
        QTreeWidgetItem* root = m_window->Tree()->topLevelItem(0);
        for (int i = 0; root && i < root->childCount(); ++i)
            names << root->child(i)->text(0);
        return names;
    }
    // The text of a list cell, its column by the window's column kind.
    QString Cell(int row, int kind) const
    {
        return m_window->List()->ItemText(row, m_window->ColumnOf(kind));
    }
    void SelectRow(int row) { SelectListRow(m_window->List(), row); }
    // Opens the list's context menu over a cell; the texts of its entries.
    QStringList ListMenu(int row, int kind)
    {
        return OpenListMenu(*m_window, row, m_window->ColumnOf(kind));
    }
    void TriggerMenu(int command)
    {
        QAction* action = MenuCommand(m_window->PopupMenu(), command);
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }
    static QStringList Messages() { return CRecordingMessages::Current().Texts(); }

    std::unique_ptr<CDummyDlg> m_hub;
    Window* m_window = nullptr;
};
