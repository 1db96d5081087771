#pragma once

#include "records/CommentRow.h"
#include "ui/DialogBase.h"
#include "ui/TipButton.h"

class CDBClass;
class CProjectCommentSet;
class CRichTextCtrl;
class CRichTextMenu;
class ICommentListOwner;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Comment Edit": one comment of the comments window's list. Update writes
// it back and stays open, Done marks it actioned now, and "<<" and ">>"
// step through the window's list without closing.
class CCmtViewDlg : public CDialogBase, public ITipButtonOwner {
    Q_OBJECT
public:
    enum : int {
        kIdEntered = 1093,
        kIdActioned = 1094,
        kIdProject = 1055,
        kIdContact = 1099,
        kIdStatus = 1104,
        kIdPriority = 1106,
        kIdNext = 1197,
        kIdPrevious = 1198,
        kIdComment = 1247,
        kIdDetails = 1248,
        kIdTask = 1309,
        kIdReference = 1395,
        kIdDone = 1423,
        kIdUser = 12809,
        kIdCompany = 12827,
    };

    CCmtViewDlg(ICommentListOwner* owner, int row, const CCommentTexts& texts, int commentId,
                CDBClass& db, QWidget* parent = nullptr);

    // The owner steps to another row of its list.
    void Reload(int row, const CCommentTexts& texts, int commentId);

    bool OnCommand(int id) override;
    // "<<" and ">>".
    void OnTipButtonClick(int id) override;
    void OnDone();

    int Row() const { return m_row; }
    int CommentId() const { return m_commentId; }
    const CCommentTexts& Texts() const { return m_texts; }
    // "low" 3, "high" 1, anything else 2, ignoring case.
    static int PriorityIndex(const QString& text);

protected:
    bool OnInitDialog() override;
    // Update: writes and stays open.
    void OnOK() override;
    void OnCancel() override;

private:
    // The stored row as it is now; what a row that is gone keeps is unknown.
    struct CStored {
        bool found = false;
        int projId = -1;
        int empId = -1;
        int companyId = -1;
        int objectTypeId = -1;
        int objectId = -1;
        QString comment;
        QString details;
    };
    // Whether the user changed a text field since it was loaded.
    bool Edited(const CRichTextCtrl* field, const QString& loaded) const;

    void BuildControls();
    void Load();
    void ReadStored();
    void FillCombos();
    void UpdateButtons();
    void OnSelChangeCompany();
    void OnSelChangeProject();
    // Opens the row for a write; false (after saying what was not done and
    // why) when it cannot.
    bool OpenForWrite(CProjectCommentSet& set, const QString& notDone);
    bool WriteRow(CProjectCommentSet& set, const QString& notDone);
    void RowGone();

    ICommentListOwner* m_owner;
    CDBClass& m_db;
    int m_row;
    CCommentTexts m_texts;
    int m_commentId;
    CStored m_stored;
    QString m_userName;
    // The two texts as the fields showed them when loaded.
    QString m_shownComment;
    QString m_shownDetails;

    QLabel* m_entered = nullptr;
    QLabel* m_actioned = nullptr;
    QComboBox* m_project = nullptr;
    QComboBox* m_user = nullptr;
    QComboBox* m_company = nullptr;
    QComboBox* m_contact = nullptr;
    QComboBox* m_status = nullptr;
    QComboBox* m_priority = nullptr;
    QComboBox* m_task = nullptr;
    QLineEdit* m_reference = nullptr;
    CRichTextCtrl* m_comment = nullptr;
    CRichTextCtrl* m_details = nullptr;
    CTipButton* m_previous = nullptr;
    CTipButton* m_next = nullptr;
    QPushButton* m_done = nullptr;
    CRichTextMenu* m_textMenu = nullptr;
};
