<?xml version="1.0" encoding="UTF-8"?>
<!-- Shows any XML document as an indented, coloured tree: one line per
     element, text, comment or processing instruction. Written for the
     program's browser, which renders a subset of HTML 4 (no script). -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>
  <xsl:strip-space elements="*"/>

  <xsl:template match="/">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
      </head>
      <body style="font-family: monospace; font-size: 10pt">
        <xsl:apply-templates select="node()"/>
      </body>
    </html>
  </xsl:template>

  <!-- The indent of a line: 16 pixels per enclosing element. -->
  <xsl:template name="indent">
    <xsl:value-of select="concat('margin-top:0px; margin-bottom:0px; margin-left:',
                                 count(ancestor::*) * 16, 'px')"/>
  </xsl:template>

  <xsl:template name="attributes">
    <xsl:for-each select="namespace::*[name() != 'xml']">
      <xsl:variable name="prefix" select="name()"/>
      <xsl:variable name="uri" select="string(.)"/>
      <xsl:if test="not(../../namespace::*[name() = $prefix and string(.) = $uri])">
        <xsl:text> </xsl:text>
        <span style="color:#c00000">
          <xsl:text>xmlns</xsl:text>
          <xsl:if test="$prefix != ''">:<xsl:value-of select="$prefix"/></xsl:if>
        </span>
        <span style="color:#0000ff">="</span>
        <b><xsl:value-of select="$uri"/></b>
        <span style="color:#0000ff">"</span>
      </xsl:if>
    </xsl:for-each>
    <xsl:for-each select="@*">
      <xsl:text> </xsl:text>
      <span style="color:#c00000"><xsl:value-of select="name()"/></span>
      <span style="color:#0000ff">="</span>
      <b><xsl:value-of select="."/></b>
      <span style="color:#0000ff">"</span>
    </xsl:for-each>
  </xsl:template>

  <!-- An element without content: one line. -->
  <xsl:template match="*[not(node())]">
    <div>
      <xsl:attribute name="style"><xsl:call-template name="indent"/></xsl:attribute>
      <span style="color:#0000ff">&lt;</span>
      <span style="color:#800000"><xsl:value-of select="name()"/></span>
      <xsl:call-template name="attributes"/>
      <span style="color:#0000ff">/&gt;</span>
    </div>
  </xsl:template>

  <!-- An element holding only text: the text between its tags, one line. -->
  <xsl:template match="*[node() and not(*|comment()|processing-instruction())]">
    <div>
      <xsl:attribute name="style"><xsl:call-template name="indent"/></xsl:attribute>
      <span style="color:#0000ff">&lt;</span>
      <span style="color:#800000"><xsl:value-of select="name()"/></span>
      <xsl:call-template name="attributes"/>
      <span style="color:#0000ff">&gt;</span>
      <b><xsl:value-of select="."/></b>
      <span style="color:#0000ff">&lt;/</span>
      <span style="color:#800000"><xsl:value-of select="name()"/></span>
      <span style="color:#0000ff">&gt;</span>
    </div>
  </xsl:template>

  <!-- An element with children: its tags on lines of their own. -->
  <xsl:template match="*">
    <div>
      <xsl:attribute name="style"><xsl:call-template name="indent"/></xsl:attribute>
      <span style="color:#0000ff">&lt;</span>
      <span style="color:#800000"><xsl:value-of select="name()"/></span>
      <xsl:call-template name="attributes"/>
      <span style="color:#0000ff">&gt;</span>
    </div>
    <xsl:apply-templates select="node()"/>
    <div>
      <xsl:attribute name="style"><xsl:call-template name="indent"/></xsl:attribute>
      <span style="color:#0000ff">&lt;/</span>
      <span style="color:#800000"><xsl:value-of select="name()"/></span>
      <span style="color:#0000ff">&gt;</span>
    </div>
  </xsl:template>

  <xsl:template match="text()">
    <div>
      <xsl:attribute name="style"><xsl:call-template name="indent"/></xsl:attribute>
      <b><xsl:value-of select="."/></b>
    </div>
  </xsl:template>

  <xsl:template match="comment()">
    <div>
      <xsl:attribute name="style"><xsl:call-template name="indent"/></xsl:attribute>
      <span style="color:#808080">&lt;!--<xsl:value-of select="."/>--&gt;</span>
    </div>
  </xsl:template>

  <xsl:template match="processing-instruction()">
    <div>
      <xsl:attribute name="style"><xsl:call-template name="indent"/></xsl:attribute>
      <span style="color:#0000ff">&lt;?</span>
      <span style="color:#800000"><xsl:value-of select="name()"/></span>
      <xsl:text> </xsl:text>
      <xsl:value-of select="."/>
      <span style="color:#0000ff">?&gt;</span>
    </div>
  </xsl:template>
</xsl:stylesheet>
