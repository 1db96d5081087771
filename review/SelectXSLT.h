#pragma once

#include "ui/DialogBase.h"

class QLineEdit;
class QListWidget;

// Registers an XSLT style sheet under a nickname for one record kind (the
// command id of its window), deletes registered ones and shows a sheet's
// text. The pairs are kept in the profile by the application, at most ten
// a kind; each line of the list knows the slot its pair is kept in.
class CSelectXSLT : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 366;
    static constexpr int kList = 1028;
    static constexpr int kFileName = 1124;
    static constexpr int kNickname = 1394;
    static constexpr int kBrowse = 1197;
    static constexpr int kDelete = 1397;
    static constexpr int kView = 1398;
    // Style sheets are small; a larger file is no style sheet.
    static constexpr qint64 kMaxStyleSheetBytes = 1024 * 1024;

    CSelectXSLT(int kind, QWidget* parent = nullptr);

    bool OnCommand(int id) override;

    QString m_fileName;
    QString m_nickname;

    // The list's lines, "nickname<TAB>file".
    QStringList Lines() const;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    void FillList();
    void OnBrowse();
    void OnDelete();
    void OnView();
    // The selected line's pair and slot; false when none is selected.
    bool SelectedPair(QString& file, int& slot) const;

    int m_kind;
    QString m_code;
    QLineEdit* m_fileEdit;
    QLineEdit* m_nickEdit;
    QListWidget* m_list;
};
