*имммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммм╩
*╨  UTILS.PRG - procedure library of the warehouse programs           ╨
*╨  SET PROCEDURE TO lib\utils  (MAIN.PRG does it at the start)       ╨
*хмммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммм╪
* Every routine here keeps the caller's work area.

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* AuditWrite - one line of the audit trail: date, time, user, code
* and a free text; the codes are the AUD_ defines of the catalogue
* audit\PROCEDRS.DBF
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE AuditWrite
PARAMETERS m.nCode, m.cInfo
PRIVATE nHandle, cLine
IF NOT M.glAudit
   RETURN
ENDIF
IF PARAMETERS() < 2
   m.cInfo = ""
ENDIF
M.cLine = DTOC(DATE()) + " " + TIME() + " " + PADR(M.gcUser, 10) + ;
   PadCode(m.nCode, 4) + " " + m.cInfo
IF FILE("AUDIT.LOG")
   M.nHandle = FOPEN("AUDIT.LOG", 2)
   = FSEEK(M.nHandle, 0, 2)           && append at the end
ELSE
   M.nHandle = FCREATE("AUDIT.LOG")
ENDIF
IF M.nHandle < 0
   WAIT WINDOW "Cannot write the audit trail" NOWAIT
   RETURN
ENDIF
= FPUTS(M.nHandle, M.cLine)
= FCLOSE(M.nHandle)
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* YesNo - asks a question in a small window; .T. for Yes
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNCTION YesNo
PARAMETERS m.cQuestion
PRIVATE nAnswer, nWidth
M.nWidth = MAX(LEN(m.cQuestion) + 4, 24)
DEFINE WINDOW wAsk FROM 10, 40 - M.nWidth / 2 TO 15, 40 + M.nWidth / 2 ;
   DOUBLE SHADOW COLOR SCHEME 7
ACTIVATE WINDOW wAsk
@ 1,2 SAY m.cQuestion
M.nAnswer = 2
@ 3,CenterCol("  Yes    No  ", M.nWidth) GET M.nAnswer ;
   PICTURE "@*HT \<Yes;\<No" DEFAULT 2
READ CYCLE
RELEASE WINDOW wAsk
RETURN M.nAnswer = 1 AND LASTKEY() <> 27

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* CenterCol - column at which a text stands centred in a width
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNC CenterCol
PARA m.cText, m.nWidth
RETURN MAX(INT((m.nWidth - LEN(m.cText)) / 2), 0)

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* PadCode - a number as a code of nLen digits with leading zeros
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNCTION PadCode
PARAMETERS m.nValue, m.nLen
RETURN RIGHT(REPLICATE("0", m.nLen) + LTRIM(STR(m.nValue)), m.nLen)

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* FmtMoney - an amount with two decimals and the currency sign
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNCTION FmtMoney
PARAMETERS m.nAmount
RETURN ALLTRIM(TRANSFORM(m.nAmount, "999,999,999.99")) + " " + M.gcCurrency

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* NextOrderNo - the next free order number: the year and a counter,
* "94000123"
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNCTION NextOrderNo
PRIVATE cYear, nLast, cArea
M.cArea = ALIAS()
M.cYear = RIGHT(STR(YEAR(M.gdWorkDate), 4), 2)
SELECT MAX(VAL(SUBSTR(order_no, 3))) FROM orders ;
   WHERE LEFT(order_no, 2) = M.cYear INTO ARRAY laLast
M.nLast = IIF(_TALLY = 0 OR TYPE("laLast(1)") <> "N", 0, laLast(1))
IF NOT EMPTY(M.cArea)
   SELECT (M.cArea)
ENDIF
RETURN M.cYear + PadCode(M.nLast + 1, 6)

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* CheckPass - compares a password with the one kept for the user in
* the options (option gcPassword, encoded with the key gnPassKey)
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
function CheckPass
parameters m.cUser, m.cPass
private cCode, i
m.cCode = ""
for i = 1 to len(m.cPass)
   m.cCode = m.cCode + chr(asc(substr(m.cPass, i, 1)) + m.gnPassKey % 7)
endfor
return not empty(m.cUser) and m.cCode == alltrim(m.gcPassword)

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* OpenTable - opens a table in a new work area, with an alias and an
* index tag; .F. when the file is missing or in use
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNCTION OpenTable
PARAMETERS m.cTable, m.cAlias, ;
           m.cTag
IF NOT FILE(m.cTable + ".DBF")
   RETURN .F.
ENDIF
IF USED(m.cAlias)
   SELECT (m.cAlias)
ELSE
   USE (m.cTable) IN 0 ALIAS (m.cAlias)
   SELECT (m.cAlias)
ENDIF
IF NOT EMPTY(m.cTag)
   SET ORDER TO TAG (m.cTag)
ENDIF
RETURN .T.

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* ErrorHandler - ON ERROR routine: shows the error and lets the user
* retry, skip the command or leave the program
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE ErrorHandler
PARAMETERS m.nError, m.cMessage, ;
           m.cProgram, m.nLine
PRIVATE nChoice
DO CASE
CASE m.nError = 1705                   && file access denied
   WAIT WINDOW "The file is in use by another station" TIMEOUT 3
   RETRY
CASE m.nError = 109 OR m.nError = 130  && record is in use
   IF INKEY(1) <> 27
      RETRY
   ENDIF
ENDCASE
ACTIVATE SCREEN
@ 20,0 CLEAR
@ 20,0 SAY "Error " + LTRIM(STR(m.nError)) + ": " + m.cMessage
@ 21,0 SAY "in " + m.cProgram + ", line " + LTRIM(STR(m.nLine))
M.nChoice = 1
@ 23,0 GET M.nChoice PICTURE "@*HT \<Retry;\<Ignore;\<Quit"
READ
DO CASE
CASE M.nChoice = 1
   RETRY
CASE M.nChoice = 3
   ON ERROR
   CLOSE ALL
   CANCEL
ENDCASE
RETURN
