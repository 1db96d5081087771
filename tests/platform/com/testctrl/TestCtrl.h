#pragma once

#include "platform/com/ControlImpl.h"

#include <QPointer>

class QLabel;

// A small control that uses every path of the dispatch layer: properties
// and methods of each argument type, out-parameters, events, a synchronous
// question answered from inside an event handler, and a widget.
class CTestCtrl : public CControlImpl<CTestCtrl> {
public:
    CTestCtrl();

    static const CDispatchTable<CTestCtrl>& DispatchTable();

    std::int32_t Number() const;
    void SetNumber(std::int32_t number);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    OleColor BackColour() const { return m_backColour; }
    void SetBackColour(OleColor colour) { m_backColour = colour; }
    FontDesc TextFont() const { return m_font; }
    void SetTextFont(const FontDesc& font) { m_font = font; }

    std::int32_t Add(std::int16_t a, std::int32_t b);
    double Half(double value);
    QString Describe(bool flag, const QString& text);
    void GetSize(std::int32_t* width, std::int32_t* height);
    bool Bump(std::int16_t* number, std::string* text);
    Variant Echo(const Variant& value);
    std::int32_t CountItems(const VariantArray& items);
    void FireChange(std::int32_t id, std::int32_t start, std::int32_t stop, std::int32_t project);
    bool AskDeleteAll();
    void DeleteAllOKRet(std::int16_t ok);
    bool ResizeMe(std::int16_t width, std::int16_t height);
    QString Version() const;

protected:
    QWidget* MakeWidget(QWidget* parent) override;

private:
    std::int32_t m_number = 0;
    QString m_caption;
    OleColor m_backColour{0x8000000F};
    FontDesc m_font;
    bool m_deleteAnswered = false;
    bool m_deleteOk = false;
    QPointer<QLabel> m_label;
};
