#pragma once

#include "ui/DialogBase.h"

class CRichTextCtrl;

// Shows a block of text (a style sheet, the XML behind a search result) in
// a resizable read-only window that remembers its place.
class CTxtVDlg : public CDialogBase {
    Q_OBJECT
public:
    explicit CTxtVDlg(QWidget* parent = nullptr);

    // The text shown: RTF when it starts "{\rtf", else plain.
    QString m_text;
    CRichTextCtrl* TextControl() const { return m_view; }

protected:
    bool OnInitDialog() override;
    void closeEvent(QCloseEvent* event) override;

private:
    CRichTextCtrl* m_view;
};
