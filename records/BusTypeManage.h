#pragma once

#include "data/ContactTypes.h"
#include "ui/DialogBase.h"

class CDBClass;
class QLineEdit;
class QListWidget;

// Keeps the business types by which companies are grouped: add, rename and
// delete by the name in the edit. There is no OK: Esc or the close box
// leaves it.
class CBusTypeManage : public CDialogBase {
    Q_OBJECT
public:
    enum : int {
        IDD = 379,
        kIdAdd = 1090,
        kIdUpdate = 1163,
        kIdDelete = 1399,
        kIdList = 1415,
        kIdName = 1416,
    };

    explicit CBusTypeManage(CDBClass& db, QWidget* parent = nullptr);

    bool OnCommand(int id) override;
    void OnAdd();
    void OnUpdate();
    void OnDelete();

protected:
    bool OnInitDialog() override;
    // Enter adds nothing and closes nothing.
    void OnOK() override {}

private:
    // Fills the list and chooses the entry of the id (the first when absent).
    void Refill(int chooseId = -1);
    void OnSelChange();
    // True when the write went through; otherwise the user hears why.
    bool Written(ContactResult result, const QString& failure, const QString& reason);
    // The name typed, checked against its column; false when refused.
    bool TypedName(QString& name);

    CDBClass& m_db;
    QListWidget* m_list;
    QLineEdit* m_name;
    // The entry last chosen: the one Update renames.
    int m_chosenId = -1;
};
