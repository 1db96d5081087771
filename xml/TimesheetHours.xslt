<?xml version="1.0" encoding="UTF-8"?>
<!-- Time sheets found by a search: the hours by project and task with their
     totals, then the entries day by day. Reads the columns a time-sheet
     search writes (ProjName, Task, WorkDate, StartTime, StopTime,
     HoursWorked, EmpFullName, Comment). -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:rs="urn:schemas-microsoft-com:rowset"
                xmlns:z="#RowsetSchema"
                exclude-result-prefixes="rs z">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>

  <xsl:key name="project" match="z:row" use="@ProjName"/>
  <xsl:key name="task" match="z:row" use="concat(@ProjName, '|', @Task)"/>

  <xsl:variable name="rows" select="/*/rs:data/z:row"/>

  <xsl:template match="/">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title>Hours by project</title>
      </head>
      <body>
        <h2>Hours by project</h2>
        <p>
          <xsl:value-of select="count($rows)"/> entries,
          <b><xsl:value-of select="format-number(sum($rows/@HoursWorked), '0.00')"/></b> hours
        </p>
        <table border="1" cellpadding="4" cellspacing="0">
          <tr bgcolor="#dce3ef">
            <th align="left">Project</th><th align="left">Task</th>
            <th align="right">Entries</th><th align="right">Hours</th>
          </tr>
          <xsl:for-each select="$rows[generate-id() = generate-id(key('project', @ProjName)[1])]">
            <xsl:sort select="@ProjName"/>
            <xsl:variable name="project" select="key('project', @ProjName)"/>
            <tr bgcolor="#eef2f8">
              <td colspan="2"><b><xsl:value-of select="@ProjName"/></b></td>
              <td align="right"><xsl:value-of select="count($project)"/></td>
              <td align="right">
                <b><xsl:value-of select="format-number(sum($project/@HoursWorked), '0.00')"/></b>
              </td>
            </tr>
            <xsl:for-each select="$project[generate-id() =
                                  generate-id(key('task', concat(@ProjName, '|', @Task))[1])]">
              <xsl:sort select="@Task"/>
              <xsl:variable name="task" select="key('task', concat(@ProjName, '|', @Task))"/>
              <tr>
                <td>&#160;</td>
                <td><xsl:value-of select="@Task"/>&#160;</td>
                <td align="right"><xsl:value-of select="count($task)"/></td>
                <td align="right">
                  <xsl:value-of select="format-number(sum($task/@HoursWorked), '0.00')"/>
                </td>
              </tr>
            </xsl:for-each>
          </xsl:for-each>
        </table>

        <h2>Entries</h2>
        <table border="1" cellpadding="3" cellspacing="0">
          <tr bgcolor="#dce3ef">
            <th align="left">Date</th><th align="left">From</th><th align="left">To</th>
            <th align="right">Hours</th><th align="left">Project</th><th align="left">Task</th>
            <th align="left">Name</th><th align="left">Comment</th>
          </tr>
          <xsl:for-each select="$rows">
            <xsl:sort select="@WorkDate"/>
            <xsl:sort select="@StartTime"/>
            <tr>
              <td><xsl:value-of select="substring(@WorkDate, 1, 10)"/></td>
              <td><xsl:value-of select="substring(@StartTime, 12, 5)"/></td>
              <td><xsl:value-of select="substring(@StopTime, 12, 5)"/></td>
              <td align="right"><xsl:value-of select="format-number(@HoursWorked, '0.00')"/></td>
              <td><xsl:value-of select="@ProjName"/>&#160;</td>
              <td><xsl:value-of select="@Task"/>&#160;</td>
              <td><xsl:value-of select="@EmpFullName"/>&#160;</td>
              <td><xsl:value-of select="@Comment"/>&#160;</td>
            </tr>
          </xsl:for-each>
        </table>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
