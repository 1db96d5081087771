#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The procedures in the text of a macro module (Basic or VBA), as the VBA
// editor counts their lines: a procedure owns its declaration, its body up
// to its End line, and the blank and comment lines above it back to the end
// of the procedure before (or of the declarations at the top).
class CBasicModule {
public:
    struct CProcedure {
        QString name;
        int firstLine = 0; // 0-based: the first line the procedure owns
        int declarationLine = 0;
        int lastLine = 0; // its End line; the last line when it has none
    };

    explicit CBasicModule(const QString& code);

    const QList<CProcedure>& Procedures() const { return m_procedures; }
    QStringList ProcedureNames() const;
    // Names compare ignoring case, as Basic compares them.
    bool HasProcedure(const QString& name) const;
    // The text without every procedure whose name is not one of `keep`;
    // the declarations at the top stay.
    QString WithoutProceduresExcept(const QStringList& keep) const;

private:
    QStringList m_lines;
    QList<CProcedure> m_procedures;
};
