#pragma once

#include <QString>
#include <QVariantList>

#include <functional>

// Ann Lee (employee 1, rate factor 1), who books on Bridge (project 1:
// order B-100 at 80 an hour, tasks Design and Build) and Apollo (project 2:
// order A-1 at 100, task Launch). `exec` runs one statement with its values.
inline void SeedAnnsProjects(const std::function<void(const QString&, const QVariantList&)>& exec)
{
    exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                        "IsCurrent, HourRateFactor) VALUES (1, 'Ann Lee', 'ann', 1, 1, 1)"),
         {});
    exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjColour) "
                        "VALUES (1, 'Bridge', ?, 255), (2, 'Apollo', ?, 65280)"),
         {false, false});
    exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, "
                        "IsDone, OrderHourRate) VALUES (1, 'B-100', 1, ?, ?, 80), "
                        "(2, 'A-1', 2, ?, ?, 100)"),
         {true, false, true, false});
    exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, "
                        "DefaultWorkTypeID) VALUES (1, 'Design', 1, 2, 2), (2, 'Build', 1, 2, 1), "
                        "(3, 'Launch', 2, 2, 3)"),
         {});
}

// Acme (2) and Zeta's Café (3) beside the own company (1), Jane Roe of Acme
// and Jörg O'Hara of Zeta's; projects Bridge (1, Acme) and Apollo (2, Zeta's
// Café), open to everyone, and Zephyr (3, no company), for its team only.
inline void
SeedCompaniesAndProjects(const std::function<void(const QString&, const QVariantList&)>& exec)
{
    exec(QStringLiteral("INSERT INTO tblAddrCompany (CompanyName, IsCurrent) VALUES "
                        "('Acme', 1), ('Zeta''s Café', 1)"),
         {});
    exec(QStringLiteral("INSERT INTO tblAddrPerson (FirstName, LastName, FullName, CompanyID) "
                        "VALUES ('Jane', 'Roe', 'Jane Roe', 2), ('Jörg', 'O''Hara', '', 3)"),
         {});
    exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, CompanyID, UseTeamCheck) "
                        "VALUES (1, 'Bridge', 2, ?), (2, 'Apollo', 3, ?), (3, 'Zephyr', NULL, ?)"),
         {false, false, true});
}
