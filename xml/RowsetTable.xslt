<?xml version="1.0" encoding="UTF-8"?>
<!-- Any search result as one table: a heading per column of the rowset's
     schema, a line per row, in the order the result was written. Dates
     lose a midnight time; numbers are right aligned. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:s="uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882"
                xmlns:dt="uuid:C2F41010-65B3-11d1-A29F-00AA00C14882"
                xmlns:rs="urn:schemas-microsoft-com:rowset"
                xmlns:z="#RowsetSchema"
                exclude-result-prefixes="s dt rs z">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>

  <xsl:variable name="columns" select="/*/s:Schema/s:ElementType/s:AttributeType"/>

  <xsl:template match="/">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title>Search results</title>
      </head>
      <body>
        <h3>Search results</h3>
        <p><xsl:value-of select="count(/*/rs:data/z:row)"/> rows</p>
        <table border="1" cellpadding="3" cellspacing="0">
          <tr bgcolor="#dce3ef">
            <xsl:for-each select="$columns">
              <th align="left">
                <xsl:choose>
                  <xsl:when test="@rs:name"><xsl:value-of select="@rs:name"/></xsl:when>
                  <xsl:otherwise><xsl:value-of select="@name"/></xsl:otherwise>
                </xsl:choose>
              </th>
            </xsl:for-each>
          </tr>
          <xsl:for-each select="/*/rs:data/z:row">
            <xsl:variable name="row" select="."/>
            <tr>
              <xsl:if test="position() mod 2 = 0">
                <xsl:attribute name="bgcolor">#f3f5f9</xsl:attribute>
              </xsl:if>
              <xsl:for-each select="$columns">
                <xsl:call-template name="cell">
                  <xsl:with-param name="value" select="$row/@*[name() = current()/@name]"/>
                  <xsl:with-param name="type" select="s:datatype/@dt:type"/>
                </xsl:call-template>
              </xsl:for-each>
            </tr>
          </xsl:for-each>
        </table>
      </body>
    </html>
  </xsl:template>

  <xsl:template name="cell">
    <xsl:param name="value"/>
    <xsl:param name="type"/>
    <xsl:variable name="number"
                  select="$type = 'int' or $type = 'i2' or $type = 'r4' or $type = 'float'
                          or $type = 'number'"/>
    <td>
      <xsl:if test="$number"><xsl:attribute name="align">right</xsl:attribute></xsl:if>
      <xsl:choose>
        <xsl:when test="not($value)">&#160;</xsl:when>
        <xsl:when test="$type = 'dateTime' and substring($value, 11) = 'T00:00:00'">
          <xsl:value-of select="substring($value, 1, 10)"/>
        </xsl:when>
        <xsl:when test="$type = 'dateTime'">
          <xsl:value-of select="translate(substring($value, 1, 16), 'T', ' ')"/>
        </xsl:when>
        <xsl:otherwise><xsl:value-of select="$value"/></xsl:otherwise>
      </xsl:choose>
    </td>
  </xsl:template>
</xsl:stylesheet>
