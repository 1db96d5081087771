#pragma once

#include "ui/DialogBase.h"

class CDBClass;
class CRichTextCtrl;
class CRichTextMenu;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// "Add Comment": one new comment, to-do or FAQ for a project and a
// company, received from a contact, optionally assigned to a task of the
// project. OK inserts the row; the dialog stays open on any refusal or
// failure, with everything the user typed.
class CCmtAddDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int {
        kIdComment = 1009,
        kIdAnswer = 1011,
        kIdQuestion = 1013,
        kIdCompany = 1014,
        kIdPickCompany = 1030,
        kIdContact = 1099,
        kIdUser = 1101,
        kIdStatus = 1104,
        kIdPriority = 1106,
        kIdActionDate = 1138,
        kIdTask = 1309,
        kIdProject = 1345,
        kIdAssign = 1391,
        kIdQuestionLabel = 1392,
        kIdAnswerLabel = 1393,
        kIdReference = 1395,
    };

    // viewText: "Project" or "Company"; typeIndex: the comments window's
    // type entry (its list starts with "All"; 0 and entries past the types
    // start on the options' type for new comments); nodeId: the tree node's
    // id; the company of the node's project.
    CCmtAddDlg(const QString& viewText, int typeIndex, int nodeId, const QString& companyText,
               int companyId, QWidget* owner, CDBClass& db);

    void SetProjectText(const QString& text) { m_projectText = text; }
    void SetCompanyText(const QString& text, int companyId);

    bool OnCommand(int id) override;
    const QString& CompanyText() const { return m_companyText; }
    // The key of the row OK inserted; -1 before.
    int InsertedId() const { return m_insertedId; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void BuildControls();
    void FillContacts();
    void FillTasks();
    void ShowFaqFields();
    void PickCompany();
    // The chosen project's company, unless the user chose one with "...".
    void TakeProjectCompany();
    bool IsFaq() const;
    bool CheckInput();
    bool Insert(QString& reason);

    CDBClass& m_db;
    QString m_viewText;
    int m_typeIndex;
    int m_nodeId;
    QString m_companyText;
    int m_companyId;
    // The company text as it came with a project (the window's, or the
    // chosen one's); a company of the window's company node, a blank or one
    // picked with "..." stays when the project changes.
    QString m_projectCompany;
    QString m_projectText;
    int m_insertedId = -1;
    // The texts OK writes, as checked against their columns.
    QString m_text;
    QString m_answerText;
    QString m_contactText;
    QString m_referenceText;

    QComboBox* m_project = nullptr;
    QComboBox* m_user = nullptr;
    QComboBox* m_status = nullptr;
    QComboBox* m_priority = nullptr;
    QLabel* m_company = nullptr;
    QComboBox* m_contact = nullptr;
    QCheckBox* m_assign = nullptr;
    QComboBox* m_task = nullptr;
    QDateTimeEdit* m_actionDate = nullptr;
    QLineEdit* m_reference = nullptr;
    QLabel* m_commentLabel = nullptr;
    CRichTextCtrl* m_comment = nullptr;
    QLabel* m_questionLabel = nullptr;
    CRichTextCtrl* m_question = nullptr;
    QLabel* m_answerLabel = nullptr;
    CRichTextCtrl* m_answer = nullptr;
    CRichTextMenu* m_textMenu = nullptr;
};
