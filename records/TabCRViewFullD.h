#pragma once

#include "ui/TabPage.h"

class CRichTextCtrl;
class CRichTextMenu;

// The "Details" page of "Edit Change Request": the full details.
class CTabCRViewFullD : public CTabPage {
    Q_OBJECT
public:
    enum : int { kIdDetails = 1251 };

    explicit CTabCRViewFullD(QWidget* parent = nullptr);

    void Load(const QString& details);
    QString Details() const;
    // Whether the text differs from the one loaded (a stored rich text is
    // written back only when the user changed it).
    bool Edited() const;
    CRichTextCtrl* Field() const { return m_details; }

protected:
    bool OnInitDialog() override;
    bool OnPageCommand(int id) override;

private:
    CRichTextCtrl* m_details = nullptr;
    CRichTextMenu* m_textMenu = nullptr;
    QString m_loaded;
};
