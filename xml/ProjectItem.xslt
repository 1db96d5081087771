<?xml version="1.0" encoding="UTF-8"?>
<!-- One project (bv_getProjectInfoProjID): its details, its tasks and who
     booked time on it. Each column heading links to "#" and the attribute it
     sorts by; the program re-sorts the page by replacing the sort element
     that follows the link. The second table's links carry a 2 after the "@"
     so that they lead to its own sort element. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no"/>

<xsl:template match="/ProjectInfo">
<html>
<head><title>Project <xsl:value-of select="@Name"/></title></head>
<body>
<xsl:choose>
<xsl:when test="@ProjID">
<h2><xsl:value-of select="@Name"/></h2>
<table border="0" cellpadding="2" cellspacing="0">
<tr><td><b>Customer's name:</b></td><td><xsl:value-of select="@CustName"/></td>
<td width="24"></td><td><b>State:</b></td><td><xsl:value-of select="@State"/></td></tr>
<tr><td><b>Company:</b></td><td><xsl:value-of select="@Company"/></td>
<td></td><td><b>Leader:</b></td><td><xsl:value-of select="@fullName"/></td></tr>
<tr><td><b>Start:</b></td><td><xsl:value-of select="@StartDate"/></td>
<td></td><td><b>Stop:</b></td><td><xsl:value-of select="@StopDate"/></td></tr>
<tr><td><b>Estimated hours:</b></td><td><xsl:value-of select="@EstHours"/></td>
<td></td><td><b>Actual hours:</b></td><td><xsl:value-of select="@ActHours"/></td></tr>
</table>
<xsl:if test="string(@Abstract)"><p><xsl:value-of select="@Abstract"/></p></xsl:if>

<h3>Tasks</h3>
<xsl:choose>
<xsl:when test="Task">
<table border="1" cellpadding="3" cellspacing="0" width="99%">
<tr bgcolor="#d8e2ee">
<th align="left"><a href="#@Task">Task</a></th>
<th align="left"><a href="#@OrderCode">Order</a></th>
<th align="left"><a href="#@State">State</a></th>
<th align="left"><a href="#@fullName">Allocated to</a></th>
<th align="right"><a href="#@EstHours">Estimated</a></th>
<th align="right"><a href="#@ActHours">Actual</a></th>
</tr>
<xsl:for-each select="Task">
<xsl:sort select="@TaskID" order="ascending" data-type="number" />
<tr>
<xsl:if test="position() mod 2 = 0"><xsl:attribute name="bgcolor">#f2f5f9</xsl:attribute></xsl:if>
<td><xsl:value-of select="@Task"/></td>
<td><xsl:value-of select="@OrderCode"/></td>
<td><xsl:value-of select="@State"/></td>
<td><xsl:value-of select="@fullName"/></td>
<td align="right"><xsl:value-of select="@EstHours"/></td>
<td align="right"><xsl:value-of select="@ActHours"/></td>
</tr>
</xsl:for-each>
</table>
</xsl:when>
<xsl:otherwise><p><i>No tasks.</i></p></xsl:otherwise>
</xsl:choose>

<h3>Time booked</h3>
<xsl:choose>
<xsl:when test="Member">
<table border="1" cellpadding="3" cellspacing="0" width="99%">
<tr bgcolor="#d8e2ee">
<th align="left"><a href="#@2fullName">Employee</a></th>
<th align="right"><a href="#@2Hours">Hours</a></th>
<th align="right"><a href="#@2Entries">Entries</a></th>
<th align="left"><a href="#@2LastDay">Last booked</a></th>
</tr>
<xsl:for-each select="Member">
<xsl:sort select="@fullName" order="ascending" data-type="text" />
<tr>
<xsl:if test="position() mod 2 = 0"><xsl:attribute name="bgcolor">#f2f5f9</xsl:attribute></xsl:if>
<td><xsl:value-of select="@fullName"/></td>
<td align="right"><xsl:value-of select="@Hours"/></td>
<td align="right"><xsl:value-of select="@Entries"/></td>
<td><xsl:value-of select="@LastDate"/></td>
</tr>
</xsl:for-each>
</table>
</xsl:when>
<xsl:otherwise><p><i>No time booked yet.</i></p></xsl:otherwise>
</xsl:choose>
</xsl:when>
<xsl:otherwise><h2>No such project</h2><p>The project is not in the database.</p></xsl:otherwise>
</xsl:choose>
</body>
</html>
</xsl:template>
</xsl:stylesheet>
