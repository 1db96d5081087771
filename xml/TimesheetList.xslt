<?xml version="1.0" encoding="UTF-8"?>
<!-- A month of the employee's time sheet (lv_GetTimesheetInfoEmpID). Each
     column heading links to "#" and the attribute it sorts by; the program
     re-sorts the page by replacing the sort element that follows the link. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no"/>

<xsl:template match="/TimesheetList">
<html>
<head><title>Time sheet <xsl:value-of select="@Title"/></title></head>
<body>
<h2>Time sheet of <xsl:value-of select="@Name"/>
<xsl:if test="string(@Title)">, <xsl:value-of select="@Title"/></xsl:if></h2>
<p>Entries: <xsl:value-of select="@Entries"/>; hours: <xsl:value-of select="@Hours"/></p>
<xsl:choose>
<xsl:when test="Entry">
<table border="1" cellpadding="3" cellspacing="0" width="99%">
<tr bgcolor="#d8e2ee">
<th align="left"><a href="#@When">Date</a></th>
<th align="left">Time</th>
<th align="right"><a href="#@Hours">Hours</a></th>
<th align="left"><a href="#@Project">Project</a></th>
<th align="left"><a href="#@Task">Task</a></th>
<th align="left"><a href="#@OrderCode">Order</a></th>
<th align="left"><a href="#@Comment">Comment</a></th>
</tr>
<xsl:for-each select="Entry">
<xsl:sort select="@When" order="ascending" data-type="number" />
<tr>
<xsl:if test="position() mod 2 = 0"><xsl:attribute name="bgcolor">#f2f5f9</xsl:attribute></xsl:if>
<td><xsl:value-of select="@Weekday"/><xsl:text> </xsl:text><xsl:value-of select="@Date"/></td>
<td><xsl:value-of select="@Start"/> - <xsl:value-of select="@Stop"/></td>
<td align="right"><xsl:value-of select="@Hours"/></td>
<td><xsl:value-of select="@Project"/></td>
<td><xsl:value-of select="@Task"/></td>
<td><xsl:value-of select="@OrderCode"/></td>
<td><xsl:value-of select="@Comment"/></td>
</tr>
</xsl:for-each>
</table>
</xsl:when>
<xsl:otherwise><p><i>No time booked.</i></p></xsl:otherwise>
</xsl:choose>
</body>
</html>
</xsl:template>
</xsl:stylesheet>
