#include "office/BasicModule.h"

#include <gtest/gtest.h>

namespace {

// A module as the office gives it back: its kind in a Rem line, options,
// declarations, and procedures with comments above them.
const QString kModule = QStringLiteral("Rem Attribute VBA_ModuleType=VBAModule\n"
                                       "Option VBASupport 1\n"
                                       "' The time sheet.\n"
                                       "Option Explicit\n"
                                       "Private Const FirstLine As Long = 11\n"
                                       "\n"
                                       "' Fills the header.\n"
                                       "Sub FillOutHdrWeekly(a As String, _\n"
                                       "                     b As String)\n"
                                       "    Range(\"B2\").Value = a ' End Sub in a comment\n"
                                       "End Sub\n"
                                       "\n"
                                       "' Clears the sheet.\n"
                                       "Sub macro1()\n"
                                       "    Range(\"B2\").ClearContents\n"
                                       "End Sub\n"
                                       "Private Function DayColumn(d As String) As Long\n"
                                       "    DayColumn = 2\n"
                                       "End Function\n"
                                       "Rem Prints it.\n"
                                       "Public Sub Print_time_sheet()\n"
                                       "    Worksheets(1).PrintOut\n"
                                       "End Sub\n"
                                       "Property Get Week() As String\n"
                                       "    Week = \"x\"\n"
                                       "End Property\n");

} // namespace

TEST(BasicModuleTest, ProceduresOwnTheCommentsAboveThem)
{
    const CBasicModule module(kModule);
    EXPECT_EQ(module.ProcedureNames(),
              (QStringList{"FillOutHdrWeekly", "macro1", "DayColumn", "Print_time_sheet", "Week"}));
    const QList<CBasicModule::CProcedure>& procedures = module.Procedures();
    ASSERT_EQ(procedures.size(), 5);
    // After the declarations: the blank line and the comment are the header's.
    EXPECT_EQ(procedures.at(0).firstLine, 5);
    EXPECT_EQ(procedures.at(0).declarationLine, 7);
    // The continued declaration and the comment saying "End Sub" stay inside.
    EXPECT_EQ(procedures.at(0).lastLine, 10);
    EXPECT_EQ(procedures.at(1).firstLine, 11);
    EXPECT_EQ(procedures.at(2).firstLine, 16);
    EXPECT_EQ(procedures.at(3).firstLine, 19);
    EXPECT_TRUE(module.HasProcedure(QStringLiteral("MACRO1")));
    EXPECT_FALSE(module.HasProcedure(QStringLiteral("FirstLine")));
}

TEST(BasicModuleTest, PruningKeepsTheNamedProceduresAndTheDeclarations)
{
    const QString pruned = CBasicModule(kModule).WithoutProceduresExcept(
        {QStringLiteral("Macro1"), QStringLiteral("print_time_sheet")});
    EXPECT_EQ(pruned, QStringLiteral("Rem Attribute VBA_ModuleType=VBAModule\n"
                                     "Option VBASupport 1\n"
                                     "' The time sheet.\n"
                                     "Option Explicit\n"
                                     "Private Const FirstLine As Long = 11\n"
                                     "\n"
                                     "' Clears the sheet.\n"
                                     "Sub macro1()\n"
                                     "    Range(\"B2\").ClearContents\n"
                                     "End Sub\n"
                                     "Rem Prints it.\n"
                                     "Public Sub Print_time_sheet()\n"
                                     "    Worksheets(1).PrintOut\n"
                                     "End Sub\n"));
    const CBasicModule again(pruned);
    EXPECT_EQ(again.ProcedureNames(), (QStringList{"macro1", "Print_time_sheet"}));
    // Nothing left to prune: the same text.
    EXPECT_EQ(again.WithoutProceduresExcept(
                  {QStringLiteral("Macro1"), QStringLiteral("Print_time_sheet")}),
              pruned);
}

TEST(BasicModuleTest, ProceduresAreCutOnWholeLogicalLines)
{
    // A declaration continued over three lines, a comment continued into
    // the next, and strings that speak of procedures or end in "_".
    const QString module =
        QStringLiteral("Private Declare Function GetTickCount Lib \"kernel32\" _\n"
                       "    Alias \"GetTickCount\" _\n"
                       "    () As Long\n"
                       "' Kept apart: _\n"
                       "  Sub Fake() is no procedure here\n"
                       "Sub Helper()\n"
                       "    MsgBox \"Sub Fake()\" & _\n"
                       "        \" and End Sub\"\n"
                       "    Debug.Print \"x _\" ' the string does not go on\n"
                       "End Sub\n"
                       "Sub Macro1()\n"
                       "    GetTickCount\n"
                       "End Sub\n");
    const CBasicModule parsed(module);
    ASSERT_EQ(parsed.ProcedureNames(), (QStringList{"Helper", "Macro1"}));
    EXPECT_EQ(parsed.Procedures().at(0).firstLine, 3);
    EXPECT_EQ(parsed.Procedures().at(0).lastLine, 9);
    EXPECT_EQ(parsed.WithoutProceduresExcept({QStringLiteral("Macro1")}),
              QStringLiteral("Private Declare Function GetTickCount Lib \"kernel32\" _\n"
                             "    Alias \"GetTickCount\" _\n"
                             "    () As Long\n"
                             "Sub Macro1()\n"
                             "    GetTickCount\n"
                             "End Sub\n"));
}

TEST(BasicModuleTest, ModulesWithoutProceduresOrWithoutAnEnd)
{
    EXPECT_TRUE(CBasicModule(QString()).Procedures().isEmpty());
    const QString declarations = QStringLiteral("Option Explicit\r\nDim x As Long\r\n");
    EXPECT_EQ(CBasicModule(declarations).WithoutProceduresExcept({}), declarations);
    // Declarations of outside functions are no procedures of the module.
    const CBasicModule declared(
        QStringLiteral("Private Declare Function Beep Lib \"kernel32\" () As Long\n"));
    EXPECT_TRUE(declared.Procedures().isEmpty());
    // A procedure the text ends inside owns the rest of it.
    const CBasicModule open(QStringLiteral("Dim y\nSub Broken()\n  y = 1\n"));
    ASSERT_EQ(open.Procedures().size(), 1);
    EXPECT_EQ(open.Procedures().first().lastLine, 3);
    EXPECT_EQ(open.WithoutProceduresExcept({}), QStringLiteral("Dim y"));
    // Windows line ends are kept as they were.
    EXPECT_EQ(CBasicModule(QStringLiteral("Sub A()\r\nEnd Sub\r\nSub Macro1()\r\nEnd Sub\r\n"))
                  .WithoutProceduresExcept({QStringLiteral("Macro1")}),
              QStringLiteral("Sub Macro1()\r\nEnd Sub\r\n"));
}
