<?xml version="1.0" encoding="UTF-8"?>
<!-- The overview's first page: the employee's projects (bv_GetProjInfoEmpID).
     Each column heading links to "#" and the attribute it sorts by; the
     program re-sorts the page by replacing the sort element that follows the
     link. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no"/>

<xsl:template match="/EmpProjects">
<html>
<head><title>Projects of <xsl:value-of select="@Name"/></title></head>
<body>
<h2>Projects of <xsl:value-of select="@Name"/></h2>
<p>Projects: <xsl:value-of select="count(Project)"/>; hours booked: <xsl:value-of select="@Hours"/></p>
<xsl:choose>
<xsl:when test="Project">
<table border="1" cellpadding="3" cellspacing="0" width="99%">
<tr bgcolor="#d8e2ee">
<th align="left"><a href="#@Name">Project</a></th>
<th align="left"><a href="#@State">State</a></th>
<th align="left"><a href="#@fullName">Leader</a></th>
<th align="right"><a href="#@Hours">My hours</a></th>
<th align="right"><a href="#@ActHours">Actual</a></th>
<th align="right"><a href="#@EstHours">Estimated</a></th>
<th align="left"><a href="#@LastDay">Last booked</a></th>
</tr>
<xsl:for-each select="Project">
<xsl:sort select="@Name" order="ascending" data-type="text" />
<tr>
<xsl:if test="position() mod 2 = 0"><xsl:attribute name="bgcolor">#f2f5f9</xsl:attribute></xsl:if>
<td><xsl:value-of select="@Name"/></td>
<td><xsl:value-of select="@State"/></td>
<td><xsl:value-of select="@fullName"/></td>
<td align="right"><xsl:value-of select="@Hours"/></td>
<td align="right"><xsl:value-of select="@ActHours"/></td>
<td align="right"><xsl:value-of select="@EstHours"/></td>
<td><xsl:value-of select="@LastDate"/></td>
</tr>
</xsl:for-each>
</table>
</xsl:when>
<xsl:otherwise><p><i>No projects.</i></p></xsl:otherwise>
</xsl:choose>
</body>
</html>
</xsl:template>
</xsl:stylesheet>
