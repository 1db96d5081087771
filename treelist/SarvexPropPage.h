#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/ControlImpl.h"

#include <QPointer>
#include <QString>

#include <cstdint>

class QLineEdit;

// The control's property page ("General"): one edit box (201) for the
// persisted TreeWidth, exchanged with the control it is given. Containers
// create it by its own class id, like a control.
class CSarvexPropPage : public CControlImpl<CSarvexPropPage> {
public:
    static constexpr int kTreeWidthEditId = 201;

    CSarvexPropPage() = default;

    static const CDispatchTable<CSarvexPropPage>& DispatchTable();

    QString Caption() const;
    // The value the page holds (what its edit box shows once made).
    std::int32_t TreeWidth();
    void SetTreeWidth(std::int32_t width);
    // The control whose TreeWidth the page edits; the page reads it now.
    bool SetObject(ComPtr<IDispatch> object);
    // Writes the page's value to the control's TreeWidth.
    bool Apply();
    // Closing takes the edit box's value first.
    void OnClose();

protected:
    QWidget* MakeWidget(QWidget* parent) override;

private:
    // true: from the edit box into the value; false: the other way.
    void UpdateData(bool save);

    std::int32_t m_treeWidth = 150;
    ComPtr<IDispatch> m_object;
    QPointer<QLineEdit> m_edit;
};
