<?xml version="1.0" encoding="utf-8"?>
<!--
  The page stylesheet: turns every page document of the player into HTML.

  Page documents: "register" (registration), "test-head" (title page), "test-out" (run,
  message and stop pages), "test-results" (report). Any other root gives an empty body.

  The result has no output declaration on purpose: the program writes it as HTML itself.
  Links and forms name commands under stellik://cmd, the timer image lives under
  stellik://system, and the program's own images are bare names (the page's base is
  stellik://res/). Question pictures already point at stellik://content when they arrive.

  Non-breaking spaces are the character U+00A0 itself (see $nbsp); text put out through
  CDATA would be escaped and show as the letters of an entity.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">

  <!-- Parameters: "1" is on, anything else off. -->
  <xsl:param name="skipbtn" select="'1'"/>
  <xsl:param name="run-section-name" select="'1'"/>
  <xsl:param name="run-question-info" select="'1'"/>
  <xsl:param name="run-section-info" select="'1'"/>
  <xsl:param name="run-rating-info" select="'1'"/>
  <xsl:param name="run-time-left" select="'1'"/>
  <xsl:param name="end-question-info" select="'1'"/>
  <xsl:param name="end-section-info" select="'1'"/>
  <xsl:param name="end-rating-info" select="'1'"/>
  <xsl:param name="end-time-info" select="'1'"/>
  <xsl:param name="end-mark" select="'1'"/>
  <xsl:param name="report-view-allow" select="'1'"/>
  <xsl:param name="save-result-required" select="'0'"/>
  <xsl:param name="rep-question-info" select="'0'"/>
  <xsl:param name="rep-section-info" select="'0'"/>
  <xsl:param name="rep-rating-info" select="'0'"/>
  <xsl:param name="rep-time-info" select="'0'"/>
  <xsl:param name="rep-mark" select="'1'"/>
  <xsl:param name="rep-insect-question-info" select="'1'"/>
  <xsl:param name="rep-insect-rating-info" select="'1'"/>
  <xsl:param name="rep-insect-mark" select="'1'"/>
  <xsl:param name="rep-right-answer" select="'1'"/>
  <xsl:param name="rep-user-answer" select="'1'"/>
  <xsl:param name="question-right-marker" select="'1'"/>

  <xsl:variable name="cmd-host" select="'stellik://cmd'"/>
  <xsl:variable name="system-host" select="'stellik://system'"/>

  <!-- U+00A0, the non-breaking space, and ten of them. -->
  <xsl:variable name="nbsp" select="' '"/>
  <xsl:variable name="nbsp10" select="concat($nbsp, $nbsp, $nbsp, $nbsp, $nbsp, $nbsp, $nbsp, $nbsp, $nbsp, $nbsp)"/>

  <xsl:variable name="letters" select="'abcdefghijklmnopqrstuvwxyz'"/>

  <!-- ============================================================ page frame -->

  <xsl:template match="/">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=utf-8"/>
      </head>
      <body bgcolor="#758DB0" text="#000000" style="margin:0; font-family:Verdana, sans-serif; font-size:12px">
        <xsl:apply-templates select="register | test-head | test-out | test-results"/>
      </body>
    </html>
  </xsl:template>

  <!-- A framed panel: title bar, content on the light background, thin bottom edge. The content
       is what the context node's template in mode "panel-content" writes (built in place: no
       result tree fragment to copy, which matters on list pages of many questions). The frame
       cells hold only a non-breaking space at a tiny size, so they keep their 10 and 8 pixels. -->
  <xsl:template name="panel">
    <xsl:param name="title"/>
    <xsl:param name="width"/>
    <xsl:param name="corner" select="$nbsp"/>
    <table cellspacing="0" cellpadding="0" border="0">
      <xsl:if test="$width != ''">
        <xsl:attribute name="width"><xsl:value-of select="$width"/></xsl:attribute>
      </xsl:if>
      <tr>
        <td width="10" height="38" background="lefttop_gif" style="font-size:1px; line-height:1px"><xsl:value-of select="$corner"/></td>
        <td height="38" background="centertop_gif" valign="middle" style="font-family:Verdana, sans-serif; font-size:14px; color:#FFFFFF; padding:0 6px; white-space:nowrap"><xsl:value-of select="$title"/></td>
        <td width="10" height="38" background="righttop_gif" style="font-size:1px; line-height:1px"><xsl:value-of select="$corner"/></td>
      </tr>
      <tr>
        <td width="10" background="leftmiddle_gif" style="font-size:1px; line-height:1px"><xsl:value-of select="$nbsp"/></td>
        <td bgcolor="#E6E9F0" valign="top" align="left">
          <div style="padding:16px 18px">
            <xsl:apply-templates select="." mode="panel-content"/>
          </div>
        </td>
        <td width="10" background="rightmiddle_gif" style="font-size:1px; line-height:1px"><xsl:value-of select="$nbsp"/></td>
      </tr>
      <tr>
        <td width="10" height="8" background="leftbottom_gif" style="font-size:1px; line-height:1px"><xsl:value-of select="$nbsp"/></td>
        <td height="8" background="centerbottom_gif" style="font-size:1px; line-height:1px"><xsl:value-of select="$nbsp"/></td>
        <td width="10" height="8" background="rightbottom_gif" style="font-size:1px; line-height:1px"><xsl:value-of select="$nbsp"/></td>
      </tr>
    </table>
  </xsl:template>

  <!-- The blue bar along the top of the window; what it holds comes from the context node's
       template in mode "top-bar-content". -->
  <xsl:template name="top-bar">
    <tr>
      <td height="49" background="topbar_gif" valign="middle" style="font-family:Verdana, sans-serif; font-size:12px; color:#FFFFFF; padding-left:10px; white-space:nowrap">
        <xsl:apply-templates select="." mode="top-bar-content"/>
      </td>
    </tr>
  </xsl:template>

  <!-- Stop and report pages: the picture that saves the results. -->
  <xsl:template name="save-bar">
    <xsl:if test="$save-result-required = '1'">
      <xsl:call-template name="top-bar"/>
    </xsl:if>
  </xsl:template>

  <xsl:template match="test-stop | test-results" mode="top-bar-content">
    <a href="{$cmd-host}/saveresults"><img src="saveresultbtn_gif" width="222" height="42" border="0" style="margin-top:4px"/></a>
  </xsl:template>

  <!-- A table row "label  value" of the stop page and the report. -->
  <xsl:template name="info-row">
    <xsl:param name="label"/>
    <xsl:param name="value"/>
    <xsl:param name="label-width"/>
    <tr>
      <td width="{$label-width}" valign="top" style="padding:3px 10px 3px 0; white-space:nowrap"><xsl:value-of select="$label"/></td>
      <td valign="top" style="padding:3px 0"><xsl:value-of select="$value"/></td>
    </tr>
  </xsl:template>

  <xsl:template name="spacer">
    <xsl:param name="height"/>
    <div style="height:{$height}px; line-height:{$height}px; font-size:1px"><xsl:value-of select="$nbsp"/></div>
  </xsl:template>

  <!-- ============================================================ summary values -->

  <xsl:template name="of">
    <xsl:param name="part"/>
    <xsl:param name="whole"/>
    <xsl:value-of select="concat(normalize-space($part), ' из ', normalize-space($whole))"/>
  </xsl:template>

  <xsl:template name="clock">
    <xsl:param name="time"/>
    <xsl:value-of select="concat(normalize-space($time/hour), ':', normalize-space($time/min), ':', normalize-space($time/sec))"/>
  </xsl:template>

  <!-- Time used, and the limit when there is one. -->
  <xsl:template name="time-used">
    <xsl:param name="summary"/>
    <xsl:call-template name="clock">
      <xsl:with-param name="time" select="$summary/test-time/pass"/>
    </xsl:call-template>
    <xsl:if test="$summary/test-time/total">
      <xsl:text> из </xsl:text>
      <xsl:call-template name="clock">
        <xsl:with-param name="time" select="$summary/test-time/total"/>
      </xsl:call-template>
    </xsl:if>
  </xsl:template>

  <!-- Answer labels: 1 a ... 26 z, 27 aa ... 52 az, 53 ba ... 702 zz. -->
  <xsl:template name="answer-label">
    <xsl:param name="n"/>
    <xsl:choose>
      <xsl:when test="$n &lt;= 26">
        <xsl:value-of select="substring($letters, $n, 1)"/>
      </xsl:when>
      <xsl:when test="$n mod 26 = 0">
        <xsl:value-of select="concat(substring($letters, floor($n div 26) - 1, 1), 'z')"/>
      </xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="concat(substring($letters, floor($n div 26), 1), substring($letters, $n mod 26, 1))"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- ============================================================ registration page -->

  <xsl:template match="register">
    <table width="100%" height="100%" cellspacing="0" cellpadding="0" border="0">
      <tr>
        <td align="center" valign="middle">
          <xsl:call-template name="panel">
            <xsl:with-param name="title">Регистрация</xsl:with-param>
          </xsl:call-template>
        </td>
      </tr>
    </table>
  </xsl:template>

  <xsl:template match="register" mode="panel-content">
    <form name="form1" method="post" action="{$cmd-host}/register" style="margin:0">
      <table width="520" cellspacing="0" cellpadding="4" border="0" style="font-family:Verdana, sans-serif; font-size:12px">
        <tr>
          <td width="27%"></td>
          <td width="73%"></td>
        </tr>
        <xsl:call-template name="register-field">
          <xsl:with-param name="label">Фамилия:</xsl:with-param>
          <xsl:with-param name="name">lastname</xsl:with-param>
          <xsl:with-param name="value" select="last-name"/>
        </xsl:call-template>
        <xsl:call-template name="register-field">
          <xsl:with-param name="label">Имя:</xsl:with-param>
          <xsl:with-param name="name">firstname</xsl:with-param>
          <xsl:with-param name="value" select="first-name"/>
        </xsl:call-template>
        <xsl:call-template name="register-field">
          <xsl:with-param name="label">Отчество:</xsl:with-param>
          <xsl:with-param name="name">patronymic</xsl:with-param>
          <xsl:with-param name="value" select="patronymic"/>
        </xsl:call-template>
        <!-- A line break right after the start tag is dropped when the page is read: one is
             written there, so that a text beginning with a line break keeps it. -->
        <tr>
          <td valign="top" style="padding-top:7px; white-space:nowrap">Доп. сведения:</td>
          <td><textarea name="addinfo" cols="44" rows="4" style="{$register-field-style}"><xsl:text>&#10;</xsl:text><xsl:value-of select="additional-info"/></textarea></td>
        </tr>
        <tr>
          <td></td>
          <td><input type="checkbox" name="saveinfo" id="saveinfo" value="saveinfo" checked="checked" style="vertical-align:middle; margin:0 6px 0 0"/><label for="saveinfo" style="vertical-align:middle"><xsl:text>Запомнить на этом компьютере</xsl:text></label></td>
        </tr>
        <tr>
          <td height="10"></td>
          <td></td>
        </tr>
        <tr>
          <td colspan="2" align="right"><input type="submit" name="Submit" value="  Продолжить  " style="font-family:Verdana, sans-serif; font-size:12px; padding:3px 10px"/></td>
        </tr>
      </table>
    </form>
  </xsl:template>

  <!-- The text fields and the text area fill the field column, so that their edges line up
       whatever width their sizes in characters would give them. -->
  <xsl:variable name="register-field-style" select="'font-family:Verdana, sans-serif; font-size:12px; width:100%; box-sizing:border-box; padding:2px 4px'"/>

  <xsl:template name="register-field">
    <xsl:param name="label"/>
    <xsl:param name="name"/>
    <xsl:param name="value"/>
    <tr>
      <td style="white-space:nowrap"><xsl:value-of select="$label"/></td>
      <td><input type="text" name="{$name}" size="50" value="{$value}" style="{$register-field-style}"/></td>
    </tr>
  </xsl:template>

  <!-- ============================================================ title page -->

  <xsl:template match="test-head">
    <table width="100%" height="100%" cellspacing="0" cellpadding="0" border="0">
      <tr>
        <td align="center" valign="middle">
          <a href="{$cmd-host}/runtest"><img src="startbtn_gif" width="322" height="142" border="0"/></a>
        </td>
      </tr>
    </table>
  </xsl:template>

  <!-- ============================================================ run pages -->

  <xsl:template match="test-out">
    <table width="100%" height="100%" cellspacing="0" cellpadding="0" border="0">
      <xsl:if test="section-out or message-out">
        <xsl:call-template name="top-bar"/>
        <tr>
          <td align="center" valign="top" style="padding:20px 0">
            <xsl:call-template name="panel">
              <xsl:with-param name="title" select="@test-name"/>
              <xsl:with-param name="width">94%</xsl:with-param>
              <xsl:with-param name="corner" select="$nbsp10"/>
            </xsl:call-template>
          </td>
        </tr>
      </xsl:if>
      <xsl:apply-templates select="test-stop"/>
    </table>
  </xsl:template>

  <!-- The top bar of run pages: the items that are on, " | " between them. -->
  <xsl:template match="test-out" mode="top-bar-content">
    <xsl:variable name="summary" select="summary"/>
    <xsl:variable name="questions" select="$run-question-info = '1'"/>
    <xsl:variable name="sections" select="$run-section-info = '1'"/>
    <xsl:variable name="rating" select="$run-rating-info = '1'"/>
    <xsl:variable name="time" select="$run-time-left = '1' and $summary/test-time/left"/>
    <xsl:if test="$questions">
      <xsl:text>пройдено вопросов: </xsl:text>
      <xsl:call-template name="of">
        <xsl:with-param name="part" select="$summary/questions/answered"/>
        <xsl:with-param name="whole" select="$summary/questions/count"/>
      </xsl:call-template>
    </xsl:if>
    <xsl:if test="$sections">
      <xsl:if test="$questions"><xsl:text> | </xsl:text></xsl:if>
      <xsl:text>пройдено секций: </xsl:text>
      <xsl:call-template name="of">
        <xsl:with-param name="part" select="$summary/sections/answered"/>
        <xsl:with-param name="whole" select="$summary/sections/count"/>
      </xsl:call-template>
    </xsl:if>
    <xsl:if test="$rating">
      <xsl:if test="$questions or $sections"><xsl:text> | </xsl:text></xsl:if>
      <xsl:text>набрано баллов: </xsl:text>
      <xsl:call-template name="of">
        <xsl:with-param name="part" select="$summary/rating/current"/>
        <xsl:with-param name="whole" select="$summary/rating/max"/>
      </xsl:call-template>
    </xsl:if>
    <xsl:if test="$time">
      <xsl:if test="$questions or $sections or $rating"><xsl:text> | </xsl:text></xsl:if>
      <xsl:text>времени осталось: </xsl:text>
      <!-- The picture's text stands on a baseline 4 pixels above its bottom edge; lowered by
           those 4 pixels, its digits stand on the bar's baseline, centred on the line as the
           text beside them is. -->
      <img id="timer" src="{$system-host}/timer.gif" style="vertical-align:-4px"/>
    </xsl:if>
  </xsl:template>

  <!-- The answer form of run and message pages. -->
  <xsl:template match="test-out" mode="panel-content">
    <form method="post" action="{$cmd-host}/testinput" style="margin:0">
      <table width="100%" cellspacing="0" cellpadding="0" border="0" style="font-family:Verdana, sans-serif; font-size:12px">
        <tr>
          <td>
            <xsl:apply-templates select="section-out | message-out"/>
          </td>
        </tr>
        <xsl:if test="section-out">
          <tr>
            <td>
              <xsl:call-template name="answer-btn"/>
              <xsl:value-of select="$nbsp"/>
              <xsl:if test="$skipbtn = '1' and @mode != 'list'">
                <xsl:call-template name="cancel-btn"/>
              </xsl:if>
            </td>
          </tr>
        </xsl:if>
        <xsl:if test="message-out">
          <tr>
            <td>
              <xsl:call-template name="ok-btn"/>
            </td>
          </tr>
        </xsl:if>
      </table>
    </form>
  </xsl:template>

  <xsl:template name="answer-btn">
    <input type="submit" name="CMD/NEXT" value="Ответить" style="font-family:Verdana, sans-serif; font-size:12px; padding:3px 12px"/>
  </xsl:template>

  <xsl:template name="cancel-btn">
    <input type="submit" name="CMD/SKIP" value="Пропустить" style="font-family:Verdana, sans-serif; font-size:12px; padding:3px 12px"/>
  </xsl:template>

  <xsl:template name="ok-btn">
    <input type="submit" name="CMD/NEXT" value="ОК" style="font-family:Verdana, sans-serif; font-size:12px; padding:3px 18px"/>
  </xsl:template>

  <xsl:template match="section-out">
    <xsl:if test="$run-section-name = '1' and section-name">
      <div style="font-family:Verdana, sans-serif; font-size:12px; font-style:italic; color:#3557B4; margin-bottom:12px">
        <xsl:value-of select="concat('Секция №', @number, ': &quot;', normalize-space(section-name), '&quot;')"/>
      </div>
    </xsl:if>
    <xsl:apply-templates select="question-out"/>
  </xsl:template>

  <xsl:template match="question-out">
    <div style="font-family:Verdana, sans-serif; font-size:12px; font-weight:bold; color:#3557B4; margin-bottom:8px">
      <xsl:value-of select="concat('Вопрос №', @number)"/>
    </div>
    <xsl:apply-templates select="custom-out | free-out"/>
    <xsl:call-template name="spacer">
      <xsl:with-param name="height" select="20"/>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="message-out">
    <xsl:apply-templates/>
    <xsl:call-template name="spacer">
      <xsl:with-param name="height" select="20"/>
    </xsl:call-template>
  </xsl:template>

  <!-- ============================================================ question content -->

  <xsl:template match="custom-out">
    <table width="100%" cellspacing="0" cellpadding="0" border="0">
      <tr>
        <td style="font-family:Verdana, sans-serif; font-size:12px; line-height:1.4"><xsl:apply-templates select="q-text"/></td>
      </tr>
    </table>
    <xsl:apply-templates select="answ-box"/>
  </xsl:template>

  <xsl:template match="free-out | q-text | answ-text">
    <xsl:apply-templates/>
  </xsl:template>

  <!-- The only markup of question and message texts that reaches the page; any other element
       leaves just its text. -->
  <xsl:template match="br | img | i | b | u | sub | sup | font | p | table | tr | td">
    <xsl:copy>
      <xsl:copy-of select="@*"/>
      <xsl:apply-templates/>
    </xsl:copy>
  </xsl:template>

  <xsl:template match="answ-box[@layout = 'horizontal']">
    <table cellspacing="0" cellpadding="3" border="0" style="font-family:Verdana, sans-serif; font-size:12px; margin-top:6px">
      <xsl:for-each select="item">
        <tr valign="top">
          <xsl:for-each select="*">
            <td><xsl:apply-templates select="."/></td>
          </xsl:for-each>
        </tr>
      </xsl:for-each>
    </table>
  </xsl:template>

  <xsl:template match="answ-box[@layout = 'vertical']">
    <table cellspacing="0" cellpadding="3" border="0" style="font-family:Verdana, sans-serif; font-size:12px; margin-top:6px">
      <tr valign="top">
        <xsl:for-each select="item">
          <td align="center"><xsl:apply-templates select="*[1]"/></td>
        </xsl:for-each>
      </tr>
      <tr valign="top">
        <xsl:for-each select="item">
          <td align="center"><xsl:apply-templates select="*[2]"/></td>
        </xsl:for-each>
      </tr>
    </table>
  </xsl:template>

  <!-- Answer inputs: nothing is chosen or filled in beforehand. -->
  <xsl:template match="answ-input[@type = 'single']">
    <input type="radio" name="ANSW/{@owner-id}" value="{@id}" style="margin:1px 4px 0 0"/>
  </xsl:template>

  <xsl:template match="answ-input[@type = 'check']">
    <input type="checkbox" name="ANSW/{@owner-id}" value="{@id}" style="margin:1px 4px 0 0"/>
  </xsl:template>

  <xsl:template match="answ-input[@type = 'text' or @type = 'number']">
    <input type="text" name="ANSW/{@owner-id}/{@id}" size="30" style="font-family:Verdana, sans-serif; font-size:12px"/>
  </xsl:template>

  <xsl:template match="answ-input[@type = 'box']">
    <select name="ANSW/{@owner-id}/{@id}" style="font-family:Arial, sans-serif; font-size:12px">
      <option><xsl:text> </xsl:text></option>
      <xsl:for-each select="value">
        <option><xsl:value-of select="normalize-space(.)"/></option>
      </xsl:for-each>
    </select>
  </xsl:template>

  <!-- Answer outputs (report, and run pages that carry them). -->
  <xsl:template match="answ-output[@type = 'single' or @type = 'check']">
    <table width="50" cellspacing="0" cellpadding="0" border="0">
      <tr>
        <td style="font-family:Arial, sans-serif; font-size:12px; font-weight:bold; color:#3557B4; white-space:nowrap">
          <xsl:call-template name="answer-label">
            <xsl:with-param name="n" select="@number"/>
          </xsl:call-template>
          <xsl:text>)</xsl:text>
        </td>
        <td width="10" valign="middle">
          <xsl:choose>
            <xsl:when test="normalize-space(.) = '1'"><img src="select_gif" width="16" height="16" border="0"/></xsl:when>
            <xsl:otherwise><img src="index_gif" width="16" height="16" border="0"/></xsl:otherwise>
          </xsl:choose>
        </td>
      </tr>
    </table>
  </xsl:template>

  <xsl:template match="answ-output[@type = 'text' or @type = 'number' or @type = 'box']">
    <span style="white-space:nowrap"><img src="enterL_gif" width="10" height="20" border="0" align="absmiddle" style="vertical-align:middle"/><span style="font-family:Arial, sans-serif; font-size:10px; color:#000000; vertical-align:middle"><xsl:value-of select="."/></span><img src="enterP_gif" width="10" height="20" border="0" align="absmiddle" style="vertical-align:middle"/></span>
  </xsl:template>

  <!-- ============================================================ stop page -->

  <xsl:template match="test-stop">
    <xsl:call-template name="save-bar"/>
    <tr>
      <td align="center" valign="middle" style="padding:20px 0">
        <xsl:call-template name="panel">
          <xsl:with-param name="title">
            <xsl:choose>
              <xsl:when test="time-out">Время истекло</xsl:when>
              <xsl:when test="test-end">Тест завершен</xsl:when>
            </xsl:choose>
            <xsl:value-of select="$nbsp"/>
          </xsl:with-param>
          <xsl:with-param name="width">440</xsl:with-param>
        </xsl:call-template>
      </td>
    </tr>
  </xsl:template>

  <!-- The result lines, then the button that opens the report. -->
  <xsl:template match="test-stop" mode="panel-content">
    <xsl:variable name="summary" select="../summary"/>
    <table width="100%" cellspacing="0" cellpadding="0" border="0" style="font-family:Verdana, sans-serif; font-size:12px">
      <xsl:if test="$end-question-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Пройдено вопросов:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/questions/answered"/>
              <xsl:with-param name="whole" select="$summary/questions/count"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$end-section-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Пройдено секций:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/sections/answered"/>
              <xsl:with-param name="whole" select="$summary/sections/count"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$end-rating-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Набрано баллов:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/rating/current"/>
              <xsl:with-param name="whole" select="$summary/rating/max"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$end-time-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Затрачено времени:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value">
            <xsl:call-template name="time-used">
              <xsl:with-param name="summary" select="$summary"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$end-mark = '1' and $summary/mark">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Оценка:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value" select="normalize-space($summary/mark)"/>
        </xsl:call-template>
      </xsl:if>
      <tr>
        <td height="30" colspan="2"></td>
      </tr>
      <xsl:if test="$report-view-allow = '1'">
        <tr>
          <td colspan="2" align="center">
            <form action="{$cmd-host}/lastreport" style="margin:0">
              <input type="submit" id="Submit1" value="Протокол тестирования" style="font-family:Verdana, sans-serif; font-size:12px; padding:3px 12px"/>
            </form>
          </td>
        </tr>
      </xsl:if>
    </table>
  </xsl:template>

  <!-- ============================================================ report page -->

  <xsl:template match="test-results">
    <table width="100%" cellspacing="0" cellpadding="0" border="0">
      <xsl:call-template name="save-bar"/>
      <tr>
        <td align="center" valign="top" style="padding:20px 0">
          <xsl:call-template name="panel">
            <xsl:with-param name="title" select="concat('Протокол тестирования', $nbsp)"/>
            <xsl:with-param name="width">94%</xsl:with-param>
            <xsl:with-param name="corner" select="$nbsp10"/>
          </xsl:call-template>
        </td>
      </tr>
    </table>
  </xsl:template>

  <!-- The numbered parts: results of the test, results by section, the protocol. -->
  <xsl:template match="test-results" mode="panel-content">
    <xsl:variable name="summary" select="summary"/>
    <xsl:variable name="results-part" select="$rep-question-info = '1' or $rep-section-info = '1' or $rep-rating-info = '1' or $rep-time-info = '1' or ($rep-mark = '1' and $summary/mark)"/>
    <xsl:variable name="sections-part" select="section-out/summary and count(section-out) &gt; 1 and ($rep-insect-question-info = '1' or $rep-insect-rating-info = '1' or ($rep-insect-mark = '1' and $summary/mark))"/>
    <table width="100%" cellspacing="0" cellpadding="0" border="0">
      <tr>
        <td style="font-family:Verdana, sans-serif; font-size:12px">
          <xsl:if test="$results-part">
            <xsl:call-template name="report-heading">
              <xsl:with-param name="text" select="'1. Результаты тестирования'"/>
            </xsl:call-template>
            <xsl:call-template name="report-results"/>
          </xsl:if>
          <xsl:if test="$sections-part">
            <xsl:call-template name="report-heading">
              <xsl:with-param name="text" select="concat(1 + number($results-part), '. Результаты тестирования по секциям')"/>
            </xsl:call-template>
            <xsl:apply-templates select="section-out" mode="results"/>
          </xsl:if>
          <xsl:call-template name="report-heading">
            <xsl:with-param name="text" select="concat(1 + number($results-part) + number($sections-part), '. Протокол тестирования')"/>
          </xsl:call-template>
          <xsl:apply-templates select="section-out/question-out" mode="protocol"/>
        </td>
      </tr>
    </table>
  </xsl:template>

  <xsl:template name="report-heading">
    <xsl:param name="text"/>
    <div style="font-family:Verdana, sans-serif; font-size:12px; font-weight:bold; color:#3557B4; margin:12px 0 4px 0">
      <xsl:value-of select="$text"/>
    </div>
  </xsl:template>

  <!-- Part one: results of the whole test. -->
  <xsl:template name="report-results">
    <xsl:variable name="summary" select="summary"/>
    <table cellspacing="0" cellpadding="0" border="0" style="font-family:Verdana, sans-serif; font-size:12px; margin:10px 0 14px 0">
      <xsl:if test="$rep-question-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Пройдено вопросов:</xsl:with-param>
          <xsl:with-param name="label-width" select="180"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/questions/answered"/>
              <xsl:with-param name="whole" select="$summary/questions/count"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$rep-section-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Пройдено Секций:</xsl:with-param>
          <xsl:with-param name="label-width" select="180"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/sections/answered"/>
              <xsl:with-param name="whole" select="$summary/sections/count"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$rep-time-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Затрачено времени:</xsl:with-param>
          <xsl:with-param name="label-width" select="180"/>
          <xsl:with-param name="value">
            <xsl:call-template name="time-used">
              <xsl:with-param name="summary" select="$summary"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$rep-rating-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Набрано баллов:</xsl:with-param>
          <xsl:with-param name="label-width" select="180"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/rating/current"/>
              <xsl:with-param name="whole" select="$summary/rating/max"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$rep-mark = '1' and $summary/mark">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Оценка:</xsl:with-param>
          <xsl:with-param name="label-width" select="180"/>
          <xsl:with-param name="value" select="normalize-space($summary/mark)"/>
        </xsl:call-template>
      </xsl:if>
    </table>
  </xsl:template>

  <!-- Part two: results by section. -->
  <xsl:template match="section-out" mode="results">
    <xsl:variable name="summary" select="summary"/>
    <div style="font-family:Verdana, sans-serif; font-size:12px; font-style:italic; margin-top:10px">
      <xsl:value-of select="concat('Секция №', @number, '. &quot;', normalize-space(section-name), '&quot;')"/>
    </div>
    <table cellspacing="0" cellpadding="0" border="0" style="font-family:Verdana, sans-serif; font-size:12px; margin:4px 0 6px 10px">
      <xsl:if test="$rep-insect-question-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Пройдено вопросов:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/questions/answered"/>
              <xsl:with-param name="whole" select="$summary/questions/count"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$rep-insect-rating-info = '1'">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Набрано баллов:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value">
            <xsl:call-template name="of">
              <xsl:with-param name="part" select="$summary/rating/current"/>
              <xsl:with-param name="whole" select="$summary/rating/max"/>
            </xsl:call-template>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:if>
      <xsl:if test="$rep-insect-mark = '1' and $summary/mark">
        <xsl:call-template name="info-row">
          <xsl:with-param name="label">Оценка:</xsl:with-param>
          <xsl:with-param name="label-width" select="170"/>
          <xsl:with-param name="value" select="normalize-space($summary/mark)"/>
        </xsl:call-template>
      </xsl:if>
    </table>
  </xsl:template>

  <!-- Part three: every answered question with the answers given and the right ones. -->
  <xsl:template match="question-out" mode="protocol">
    <xsl:variable name="outputs" select=".//answ-output"/>
    <xsl:variable name="choice" select="boolean($outputs[@type = 'single' or @type = 'check'])"/>
    <xsl:variable name="percent" select="number(normalize-space(summary/rating/in-percent))"/>
    <xsl:call-template name="spacer">
      <xsl:with-param name="height" select="10"/>
    </xsl:call-template>
    <hr noshade="noshade" size="1" color="#355787"/>
    <div style="font-family:Verdana, sans-serif; font-size:12px; font-weight:bold; color:#3557B4">
      <xsl:if test="$question-right-marker = '1'">
        <xsl:choose>
          <xsl:when test="$percent = 100"><img src="gmarker_gif" width="12" height="12" border="0" align="absmiddle" style="vertical-align:middle"/></xsl:when>
          <xsl:when test="$percent &lt;= 0"><img src="rmarker_gif" width="12" height="12" border="0" align="absmiddle" style="vertical-align:middle"/></xsl:when>
          <xsl:otherwise><img src="ymarker_gif" width="12" height="12" border="0" align="absmiddle" style="vertical-align:middle"/></xsl:otherwise>
        </xsl:choose>
        <xsl:value-of select="$nbsp"/>
      </xsl:if>
      <xsl:value-of select="concat('Вопрос №', @number)"/>
    </div>
    <hr noshade="noshade" size="1" color="#355787"/>
    <xsl:apply-templates select="custom-out | free-out"/>
    <xsl:if test="$rep-user-answer = '1'">
      <div style="margin-top:8px">
        <span style="font-family:Arial, sans-serif; font-size:12px; font-style:italic; color:#3557B4">Дан ответ: </span>
        <span style="font-family:Arial, sans-serif; font-size:12px; font-weight:bold; color:#000000">
          <xsl:choose>
            <xsl:when test="$choice">
              <xsl:for-each select="$outputs[normalize-space(.) = '1']">
                <xsl:if test="position() &gt; 1"><xsl:text>, </xsl:text></xsl:if>
                <xsl:call-template name="answer-label">
                  <xsl:with-param name="n" select="@number"/>
                </xsl:call-template>
              </xsl:for-each>
            </xsl:when>
            <xsl:otherwise>
              <xsl:for-each select="$outputs">
                <xsl:if test="position() &gt; 1"><xsl:text>, </xsl:text></xsl:if>
                <xsl:value-of select="."/>
              </xsl:for-each>
            </xsl:otherwise>
          </xsl:choose>
        </span>
      </div>
    </xsl:if>
    <xsl:if test="$rep-right-answer = '1' and $outputs[@right]">
      <div style="margin-top:4px">
        <span style="font-family:Arial, sans-serif; font-size:12px; font-style:italic; color:#3557B4">Правильный ответ: </span>
        <span style="font-family:Arial, sans-serif; font-size:12px; font-weight:bold; color:#000000">
          <xsl:choose>
            <xsl:when test="$choice">
              <xsl:for-each select="$outputs[@right = '1']">
                <xsl:if test="position() &gt; 1"><xsl:text>, </xsl:text></xsl:if>
                <xsl:call-template name="answer-label">
                  <xsl:with-param name="n" select="@number"/>
                </xsl:call-template>
              </xsl:for-each>
            </xsl:when>
            <xsl:otherwise>
              <xsl:for-each select="$outputs">
                <xsl:if test="position() &gt; 1"><xsl:text>, </xsl:text></xsl:if>
                <xsl:value-of select="@right"/>
              </xsl:for-each>
            </xsl:otherwise>
          </xsl:choose>
        </span>
      </div>
    </xsl:if>
  </xsl:template>

</xsl:stylesheet>
