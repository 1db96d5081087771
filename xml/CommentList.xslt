<?xml version="1.0" encoding="UTF-8"?>
<!-- A month of the employee's comments (lv_GetCommentInfoEmpID). Each column
     heading links to "#" and the attribute it sorts by; the program re-sorts
     the page by replacing the sort element that follows the link. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no"/>

<xsl:template match="/CommentList">
<html>
<head><title>Comments <xsl:value-of select="@Title"/></title></head>
<body>
<h2>Comments of <xsl:value-of select="@Name"/>
<xsl:if test="string(@Title)">, <xsl:value-of select="@Title"/></xsl:if></h2>
<p>Comments: <xsl:value-of select="@Count"/></p>
<xsl:choose>
<xsl:when test="Comment">
<table border="1" cellpadding="3" cellspacing="0" width="99%">
<tr bgcolor="#d8e2ee">
<th align="left"><a href="#@Day">Date</a></th>
<th align="left"><a href="#@Project">Project</a></th>
<th align="left"><a href="#@State">Type</a></th>
<th align="left"><a href="#@Priority">Priority</a></th>
<th align="left"><a href="#@Name">Contact</a></th>
<th align="left"><a href="#@Comment">Comment</a></th>
<th align="left"><a href="#@ActionDay">Actioned</a></th>
</tr>
<xsl:for-each select="Comment">
<xsl:sort select="@Day" order="ascending" data-type="number" />
<tr>
<xsl:if test="position() mod 2 = 0"><xsl:attribute name="bgcolor">#f2f5f9</xsl:attribute></xsl:if>
<td><xsl:value-of select="@Date"/></td>
<td><xsl:value-of select="@Project"/></td>
<td><xsl:value-of select="@State"/></td>
<td><xsl:value-of select="@PriorityText"/></td>
<td><xsl:value-of select="@Name"/></td>
<td><xsl:value-of select="@Comment"/></td>
<td><xsl:value-of select="@ActionDate"/></td>
</tr>
</xsl:for-each>
</table>
</xsl:when>
<xsl:otherwise><p><i>No comments.</i></p></xsl:otherwise>
</xsl:choose>
</body>
</html>
</xsl:template>
</xsl:stylesheet>
