#include "records/DialogFields.h"

#include "ui/DialogBase.h"
#include "ui/ResourceIds.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

void ExchangeTexts(CDialogBase& dialog, std::initializer_list<CTextField> fields, bool save)
{
    for (const CTextField& field : fields) {
        auto* edit = dialog.Control<QLineEdit>(field.id);
        if (!edit)
            continue;
        if (save)
            *field.value = edit->text();
        else
            edit->setText(*field.value);
    }
}

std::function<void(const QString&)> ShowInControl(CDialogBase& dialog, int id)
{
    return [&dialog, id](const QString& text) {
        if (auto* edit = dialog.Control<QLineEdit>(id))
            edit->setText(text);
        else if (auto* box = dialog.Control<QTextEdit>(id))
            box->setPlainText(text);
    };
}

QHBoxLayout* OkCancelRow(CDialogBase& dialog, const QString& okText)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (const auto& [text, id] : {std::pair<QString, int>{okText, IDOK},
                                   std::pair<QString, int>{QStringLiteral("&Cancel"), IDCANCEL}}) {
        auto* button = new QPushButton(text, &dialog);
        CDialogBase::SetControlId(button, id);
        button->setDefault(id == IDOK);
        QObject::connect(button, &QPushButton::clicked, &dialog,
                         [&dialog, commandId = id] { dialog.OnCommand(commandId); });
        row->addWidget(button);
    }
    return row;
}
