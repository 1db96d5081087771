<?xml version="1.0" encoding="UTF-8"?>
<!-- One change request (bv_GetChgReqInfoChgReqID): its details, its actions
     and its team. Each column heading links to "#" and the attribute it sorts
     by; the program re-sorts the page by replacing the sort element that
     follows the link. The second table's links carry a 2 after the "@" so
     that they lead to its own sort element. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no"/>

<xsl:template match="/ChgReqInfo">
<html>
<head><title>Change request <xsl:value-of select="@ChgReqID"/></title></head>
<body>
<xsl:choose>
<xsl:when test="@ChgReqID">
<h2>Change request <xsl:value-of select="@ChgReqID"/>: <xsl:value-of select="@Item"/></h2>
<table border="0" cellpadding="2" cellspacing="0">
<tr><td><b>Project:</b></td><td><xsl:value-of select="@Project"/></td>
<td width="24"></td><td><b>Status:</b></td><td><xsl:value-of select="@State"/></td></tr>
<tr><td><b>Company:</b></td><td><xsl:value-of select="@Company"/></td>
<td></td><td><b>Priority:</b></td><td><xsl:value-of select="@PriorityText"/></td></tr>
<tr><td><b>Contact:</b></td><td><xsl:value-of select="@Contact"/></td>
<td></td><td><b>Reference:</b></td><td><xsl:value-of select="@Reference"/></td></tr>
<tr><td><b>Raised by:</b></td><td><xsl:value-of select="@fullName"/></td>
<td></td><td><b>Created:</b></td><td><xsl:value-of select="@Created"/></td></tr>
<tr><td></td><td></td>
<td></td><td><b>Completed:</b></td><td><xsl:value-of select="@Completed"/></td></tr>
</table>
<xsl:if test="string(@FullDetail)"><p><xsl:value-of select="@FullDetail"/></p></xsl:if>

<h3>Actions</h3>
<xsl:choose>
<xsl:when test="Action">
<table border="1" cellpadding="3" cellspacing="0" width="99%">
<tr bgcolor="#d8e2ee">
<th align="left"><a href="#@Day">Assigned</a></th>
<th align="left"><a href="#@fullName">To</a></th>
<th align="left"><a href="#@State">Status</a></th>
<th align="left">Version</th>
<th align="left"><a href="#@Comment">Comment</a></th>
<th align="left"><a href="#@DoneDay">Done</a></th>
</tr>
<xsl:for-each select="Action">
<xsl:sort select="@Day" order="ascending" data-type="number" />
<tr>
<xsl:if test="position() mod 2 = 0"><xsl:attribute name="bgcolor">#f2f5f9</xsl:attribute></xsl:if>
<td><xsl:value-of select="@Assigned"/></td>
<td><xsl:value-of select="@fullName"/></td>
<td><xsl:value-of select="@State"/></td>
<td><xsl:value-of select="@Version"/></td>
<td><xsl:value-of select="@Comment"/></td>
<td><xsl:value-of select="@Done"/></td>
</tr>
</xsl:for-each>
</table>
</xsl:when>
<xsl:otherwise><p><i>No actions.</i></p></xsl:otherwise>
</xsl:choose>

<h3>Team</h3>
<xsl:choose>
<xsl:when test="Member">
<table border="1" cellpadding="3" cellspacing="0" width="99%">
<tr bgcolor="#d8e2ee">
<th align="left"><a href="#@2fullName">Member</a></th>
<th align="left"><a href="#@2Comment">Comment</a></th>
</tr>
<xsl:for-each select="Member">
<xsl:sort select="@fullName" order="ascending" data-type="text" />
<tr>
<xsl:if test="position() mod 2 = 0"><xsl:attribute name="bgcolor">#f2f5f9</xsl:attribute></xsl:if>
<td><xsl:value-of select="@fullName"/></td>
<td><xsl:value-of select="@Comment"/></td>
</tr>
</xsl:for-each>
</table>
</xsl:when>
<xsl:otherwise><p><i>No team.</i></p></xsl:otherwise>
</xsl:choose>
</xsl:when>
<xsl:otherwise><h2>No such change request</h2><p>The change request is not in the database.</p></xsl:otherwise>
</xsl:choose>
</body>
</html>
</xsl:template>
</xsl:stylesheet>
