#include "tests/platform/com/testctrl/TestCtrl.h"

#include "tests/platform/com/testctrl/TestCtrlIds.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TestCtrlIds;

CTestCtrl::CTestCtrl() = default;

const CDispatchTable<CTestCtrl>& CTestCtrl::DispatchTable()
{
    using T = CDispatchTable<CTestCtrl>;
    static const T table{
        T::Property<&CTestCtrl::Number, &CTestCtrl::SetNumber>("Number"),
        T::Property<&CTestCtrl::Caption, &CTestCtrl::SetCaption>("Caption"),
        T::Property<&CTestCtrl::BackColour, &CTestCtrl::SetBackColour>("backcolour"),
        T::Property<&CTestCtrl::TextFont, &CTestCtrl::SetTextFont>("TextFont"),
        T::Method<&CTestCtrl::Add>("Add"),
        T::Method<&CTestCtrl::Half>("Half"),
        T::Method<&CTestCtrl::Describe>("Describe"),
        T::Method<&CTestCtrl::GetSize>("GetSize"),
        T::Method<&CTestCtrl::Bump>("Bump"),
        T::Method<&CTestCtrl::Echo>("Echo"),
        T::Method<&CTestCtrl::CountItems>("CountItems"),
        T::Method<&CTestCtrl::FireChange>("FireChange"),
        T::Method<&CTestCtrl::AskDeleteAll>("AskDeleteAll"),
        T::Method<&CTestCtrl::DeleteAllOKRet>("DeleteAllOKRet"),
        T::Method<&CTestCtrl::ResizeMe>("ResizeMe"),
        T::Property<&CTestCtrl::Version>("Version"),
        T::Property<&CTestCtrl::BackColour, &CTestCtrl::SetBackColour>("BackColor")
            .WithId(kStockBackColor),
    };
    return table;
}

// Out of line, so that the benchmark's direct call is a real call.
std::int32_t CTestCtrl::Number() const
{
    return m_number;
}

void CTestCtrl::SetNumber(std::int32_t number)
{
    m_number = number;
}

void CTestCtrl::SetCaption(const QString& caption)
{
    m_caption = caption;
    if (m_label)
        m_label->setText(caption);
    FireEvent(kMsgUpdate, caption);
}

std::int32_t CTestCtrl::Add(std::int16_t a, std::int32_t b)
{
    return a + b;
}

double CTestCtrl::Half(double value)
{
    return value / 2;
}

QString CTestCtrl::Describe(bool flag, const QString& text)
{
    return (flag ? QStringLiteral("yes ") : QStringLiteral("no ")) + text;
}

void CTestCtrl::GetSize(std::int32_t* width, std::int32_t* height)
{
    *width = Widget() ? Widget()->width() : 0;
    *height = Widget() ? Widget()->height() : 0;
}

bool CTestCtrl::Bump(std::int16_t* number, std::string* text)
{
    *number += 1;
    *text += '!';
    return true;
}

Variant CTestCtrl::Echo(const Variant& value)
{
    return value;
}

std::int32_t CTestCtrl::CountItems(const VariantArray& items)
{
    return static_cast<std::int32_t>(items.size());
}

void CTestCtrl::FireChange(std::int32_t id, std::int32_t start, std::int32_t stop,
                           std::int32_t project)
{
    FireEvent(kChanged, id, start, stop, project);
}

bool CTestCtrl::AskDeleteAll()
{
    m_deleteAnswered = false;
    m_deleteOk = false;
    FireEvent(kNotifyDeleteAll);
    return m_deleteAnswered && m_deleteOk;
}

void CTestCtrl::DeleteAllOKRet(std::int16_t ok)
{
    m_deleteAnswered = true;
    m_deleteOk = ok != 0;
}

bool CTestCtrl::ResizeMe(std::int16_t width, std::int16_t height)
{
    return Succeeded(RequestResize(width, height));
}

QString CTestCtrl::Version() const
{
    return QStringLiteral("1.0");
}

QWidget* CTestCtrl::MakeWidget(QWidget* parent)
{
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    m_label = new QLabel(m_caption, widget);
    m_label->setObjectName(QStringLiteral("caption"));
    auto* button = new QPushButton(QStringLiteral("Press"), widget);
    button->setObjectName(QStringLiteral("press"));
    layout->addWidget(m_label);
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, widget,
                     [this] { FireEvent(kClicked, m_number); });
    return widget;
}
