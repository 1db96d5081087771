' The macros of Kelvane's weekly time-sheet workbook (TSExcel.xls).
'
' Kelvane opens the workbook, calls the five macros below one at a time with
' text arguments, removes every procedure except Macro1 and Print_time_sheet,
' and saves the result under a dated name. The code is VBA: it runs in Excel
' and in LibreOffice Calc.
'
' The sheet: the header in rows 2 to 4, one column a working day (B = Mon to
' F = Fri), the first and last times of each day in rows 7 and 8, the day
' totals in row 9 with the week's total in G9, and the day's hours from row 11
' down, one line a booking.
Option Explicit

Private Const FirstLine As Long = 11
Private Const LastLine As Long = 1000

' The week: first and last day, the user's sign-on name, the form's code and
' the employee's full name.
Sub FillOutHdrWeekly(weekStart As String, weekEnd As String, userName As String, _
                     formCode As String, empName As String)
    With Worksheets(1)
        .Range("B2:F4").NumberFormat = "@"
        .Range("B2").Value = weekStart
        .Range("E2").Value = weekEnd
        .Range("B3").Value = userName
        .Range("F3").Value = formCode
        .Range("B4").Value = empName
    End With
End Sub

' One booking: its line in the day's column (1 = the first line), the day
' ("Mon", "Tues", "Wed", "Thurs" or "Fri"), a note (may be empty) and the
' hours as a number with a point ("1.50").
Sub FillDaysTime(lineNo As String, dayName As String, note As String, hours As String)
    Dim col As Long
    col = DayColumn(dayName)
    If col = 0 Or Val(lineNo) < 1 Then Exit Sub
    With Worksheets(1).Cells(FirstLine + Val(lineNo) - 1, col)
        .Value = Val(hours)
        .NumberFormat = "0.00"
    End With
End Sub

' The first start and the last stop of a day as "HH:MM"; blank for a day
' without bookings.
Sub DailyInOutVals(dayName As String, firstStart As String, lastStop As String)
    Dim col As Long
    col = DayColumn(dayName)
    If col = 0 Then Exit Sub
    With Worksheets(1)
        .Cells(7, col).NumberFormat = "@"
        .Cells(7, col).Value = Trim(firstStart)
        .Cells(8, col).NumberFormat = "@"
        .Cells(8, col).Value = Trim(lastStop)
    End With
End Sub

' The hours of each day, with the given number of decimals.
Sub RunTotals(decimals As String)
    Dim col As Long
    Dim letter As String
    For col = 2 To 6
        letter = Chr(Asc("A") + col - 1)
        With Worksheets(1).Cells(9, col)
            .Formula = "=SUM(" & letter & FirstLine & ":" & letter & LastLine & ")"
            .NumberFormat = NumberFormatOf(decimals)
        End With
    Next col
End Sub

' The hours of the week, with the given number of decimals.
Sub RunGrandTotal(decimals As String)
    With Worksheets(1).Range("G9")
        .Formula = "=SUM(B9:F9)"
        .NumberFormat = NumberFormatOf(decimals)
    End With
End Sub

' Empties the week's values, so the sheet can be filled in by hand.
Sub Macro1()
    With Worksheets(1)
        .Range("B2:F4").ClearContents
        .Range("B7:G9").ClearContents
        .Range("B11:F1000").ClearContents
    End With
End Sub

' Prints the time sheet.
Sub Print_time_sheet()
    Worksheets(1).PrintOut
End Sub

' The column of a day's name; 0 for any other text.
Function DayColumn(dayName As String) As Long
    Select Case dayName
    Case "Mon"
        DayColumn = 2
    Case "Tues"
        DayColumn = 3
    Case "Wed"
        DayColumn = 4
    Case "Thurs"
        DayColumn = 5
    Case "Fri"
        DayColumn = 6
    Case Else
        DayColumn = 0
    End Select
End Function

' "0.00" for "2"; "0" for "0" or anything that is no count of decimals.
Function NumberFormatOf(decimals As String) As String
    Dim n As Long
    n = Val(decimals)
    If n < 1 Or n > 10 Then
        NumberFormatOf = "0"
    Else
        NumberFormatOf = "0." & String(n, "0")
    End If
End Function
