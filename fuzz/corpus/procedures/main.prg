*имммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммм╩
*╨  MAIN.PRG - Warehouse orders, main program                         ╨
*╨  Start from the DOS prompt with:   FOXPRO MAIN                     ╨
*хмммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммм╪
* 11.03.1994  first version (order entry, customers)
* 02.10.1996  audit trail, order history ORDHIST
* 17.02.1998  day closing, options tables
*
#DEFINE APP_TITLE    "Warehouse Orders"
#DEFINE APP_VERSION  "2.3.1"
#DEFINE K_ESC        27          && INKEY() code of Esc
#DEFINE K_ENTER      13
#DEFINE K_F2         -1          && F2 saves in every screen
#DEFINE K_F10        -9
#DEFINE MAX_LINES    40          && lines per order document
#DEFINE ST_OPEN      "O"         && order status values
#DEFINE ST_CLOSED    "C"
#DEFINE ST_CANCEL    "X"
#DEFINE AUD_SYS_LOGIN 0401
#DEFINE AUD_SYS_LOGOUT 0402
#DEFINE AUD_SYS_REINDEX 0403
#DEFINE AUD_REP_DAILY 0301

SET TALK OFF
SET ECHO OFF
SET SAFETY OFF
SET DELETED ON
SET EXACT OFF
SET CENTURY ON
SET DATE BRITISH
SET CONFIRM ON
SET BELL OFF
SET EXCLUSIVE OFF
SET REPROCESS TO 5
SET PATH TO data;src;lib
SET PROCEDURE TO lib\utils
ON ERROR DO ErrorHandler WITH ERROR(), MESSAGE(), ;
   PROGRAM(), LINENO()

PUBLIC gcDataDir, gcUser, gdWorkDate, glAudit, gnVatRate, gcCompany
PRIVATE cChoice, nKey, lQuit
STORE "" TO gcUser, cChoice
STORE 0 TO nKey
M.gcDataDir  = "DATA\"
M.gdWorkDate = DATE()
M.glAudit    = .T.
M.lQuit      = .F.

* which tables are there at all
DIMENSION laTables(1), laLocks(4,2)
M.nTables = ADIR(laTables, M.gcDataDir + "*.DBF")
IF M.nTables = 0
   WAIT WINDOW "No tables in " + M.gcDataDir + " - nothing to do"
   RETURN
ENDIF

DO LoadOptions WITH "options\goptions", "options\loptions"
DO OpenTables
IF NOT Login()
   CLOSE DATABASES
   RETURN
ENDIF
IF M.glAudit
   DO AuditWrite WITH AUD_SYS_LOGIN, M.gcUser
ENDIF

* orders that are open longer than this station keeps them
SELECT order_no, cust_id, ord_date, total FROM orders ;
   WHERE status = ST_OPEN AND ord_date < M.gdWorkDate - M.gnKeepDays ;
   INTO CURSOR c_late
IF _TALLY > 0
   WAIT WINDOW LTRIM(STR(_TALLY)) + " orders are open for more than " + ;
      LTRIM(STR(M.gnKeepDays)) + " days" TIMEOUT 3
ENDIF
USE IN c_late

PUSH KEY CLEAR
ON KEY LABEL F10 KEYBOARD CHR(27)
ON KEY LABEL ALT+R DO Reindex          && for the administrator only
DEFINE WINDOW wMain FROM 0,0 TO 24,79 NONE COLOR SCHEME 1
ACTIVATE WINDOW wMain
DO WHILE NOT M.lQuit
   DO MainMenu
   M.nKey = LASTKEY()
   DO CASE
   CASE M.nKey = K_ESC OR M.cChoice = "Q"
      M.lQuit = YesNo("Leave " + APP_TITLE + "?")
   CASE M.cChoice = "N"
      DO NewOrder IN orders
   CASE M.cChoice = "E"
      DO EditOrder IN orders WITH ""
   CASE M.cChoice = "R"
      DO reports WITH "DAILY"
   CASE M.cChoice = "D"
      DO CloseDay WITH M.gdWorkDate
   CASE M.cChoice = "T"
      DO TableInfo
   OTHERWISE
      ?? CHR(7)
   ENDCASE
ENDDO
RELEASE WINDOW wMain
POP KEY

IF M.glAudit
   DO AuditWrite WITH AUD_SYS_LOGOUT, M.gcUser
ENDIF
ON ERROR
CLOSE ALL
CLEAR
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* LoadOptions - reads the global, then the local options table and
* makes every option a public variable (ID = name, VALUE = value)
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE LoadOptions
PARAMETERS m.cGlobal, m.cLocal
PRIVATE cTable, cName, nPass
FOR nPass = 1 TO 2
   M.cTable = IIF(nPass = 1, m.cGlobal, m.cLocal)
   IF NOT FILE(M.cTable + ".DBF")
      LOOP
   ENDIF
   USE (M.cTable) IN 0 ALIAS options AGAIN NOUPDATE
   SELECT options
   SCAN FOR NOT EMPTY(id)
      M.cName = ALLTRIM(options.id)
      PUBLIC &cName
      DO CASE
      CASE TYPE(ALLTRIM(options.value)) = "N"
         STORE VAL(options.value) TO (M.cName)
      CASE UPPER(ALLTRIM(options.value)) $ ".T.|.F."
         STORE (UPPER(ALLTRIM(options.value)) = ".T.") TO (M.cName)
      OTHE
         STORE ALLTRIM(options.value) TO (M.cName)
      ENDCASE
   ENDSCAN
   USE IN options
ENDFOR
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* OpenTables - opens the tables of the project in their work areas
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE OpenTables
PRIVATE i
DIME laOpen(4)
laOpen(1) = "CUSTOMER"
laOpen(2) = "ORDERS"
laOpen(3) = "ITEMS"
laOpen(4) = "ARTICLE"
FOR i = 1 TO ALEN(laOpen)
   IF NOT FILE(M.gcDataDir + laOpen(i) + ".DBF")
      WAIT WINDOW "Missing table " + laOpen(i) NOWAIT
      LOOP
   ENDIF
   USE (M.gcDataDir + laOpen(i)) IN 0 ALIAS (laOpen(i))
ENDFOR
USE (M.gcDataDir + "ORDHIST") IN 0 ALIAS ordhist AGAIN
SELECT customer
SET ORDER TO TAG cust_id
SELECT article
SET ORDER TO TAG art_no
SELECT orders
SET ORDER TO TAG order_no
SET RELATION TO cust_id INTO customer
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* MainMenu - the menu of the main screen; the letter chosen goes to
* cChoice of the caller
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE MainMenu
CLEAR
@ 0,0 SAY PADC(APP_TITLE + " " + APP_VERSION, 80) COLOR W+/B
@ 1,0 SAY PADC(M.gcCompany, 80)
@ 3,20 TO 12,60 DOUBLE
@ 5,25 PROMPT "\<New order            "
@ 6,25 PROMPT "\<Edit an order        "
@ 7,25 PROMPT "\<Reports              "
@ 8,25 PROMPT "\<Day closing          "
@ 9,25 PROMPT "\<Tables               "
@ 10,25 PROMPT "\<Quit                 "
MENU TO M.nMenu
cChoice = IIF(M.nMenu = 0, "Q", SUBSTR("NERDTQ", M.nMenu, 1))
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* Login - asks for the user name and the password
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNCTION Login
PRIVATE cName, cPass, nTries
STORE SPACE(10) TO M.cName, M.cPass
nTries = 0
CLEAR
TEXT
          имммммммммммммммммммммммммммммммммммммммммммммммм╩
          ╨            W A R E H O U S E                   ╨
          ╨        orders  З  customers  З  stock          ╨
          хмммммммммммммммммммммммммммммммммммммммммммммммм╪
Procedure for a new day: log in, then run the Day closing of the
day before. Do not switch the station off without Quit.
ENDTEXT
DO WHILE nTries < 3
   @ 10,20 SAY "User    " GET M.cName PICTURE "@!"
   @ 11,20 SAY "Password" GET M.cPass COLOR ,N/N
   READ
   IF LASTKEY() = K_ESC
      RETURN .F.
   ENDIF
   IF CheckPass(ALLTRIM(M.cName), ALLTRIM(M.cPass))
      M.gcUser = ALLTRIM(M.cName)
      RETURN .T.
   ENDIF
   nTries = nTries + 1
   WAIT WINDOW "Wrong password" TIMEOUT 2
ENDDO
RETURN .F.

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* CloseDay - closes the open orders of a day: paid orders go to the
* history table, unpaid ones older than gnKeepDays are cancelled
* (old code, never re-indented: try the formatter here)
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE CloseDay
PARAMETERS m.dDay
PRIVATE nMoved, nCancel, nTotal, cOrder
STORE 0 TO nMoved, nCancel, nTotal
IF NOT YesNo("Close the day " + DTOC(m.dDay) + "?")
RETU
ENDI
SELE orders
SET ORDER TO TAG ord_date
SEEK DTOS(m.dDay)
  SCAN WHILE ord_date = m.dDay
 IF status <> ST_OPEN
     LOOP   && closed or cancelled already
  ENDIF
      DO CASE
    CASE paid
  M.cOrder = orders.order_no
        SCATTER MEMVAR
     SELE ordhist
          APPE BLANK
     GATHER MEMVAR
  SELECT orders
        REPLACE status WITH ST_CLOSED
  nMoved = nMoved + 1    && one more in the history
     CASE m.dDay < M.gdWorkDate - M.gnKeepDays
           REPLACE status WITH ST_CANCEL, ;
   total WITH 0
       nCancel = nCancel + 1
  OTHERWISE
     nTotal = nTotal + orders.total
   ENDCASE
        IF INKEY() = K_ESC
   IF YesNo("Stop the day closing?")
       EXIT
        ENDIF
     ENDIF
ENDSCAN
SET ORDER TO TAG order_no
IF M.glAudit
DO AuditWrite WITH AUD_REP_DAILY, DTOC(m.dDay)
ENDIF
WAIT WINDOW LTRIM(STR(nMoved)) + " moved, " + LTRIM(STR(nCancel)) + ;
" cancelled, open: " + FmtMoney(nTotal) NOWAIT
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* TableInfo - the tables of the data folder with their size, date and
* number of records
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE TableInfo
PRIVATE i
CREATE CURSOR c_tables (fname C(12), fsize N(10), changed D, ;
   records N(8))
FOR i = 1 TO M.nTables
   INSERT INTO c_tables (fname, fsize, changed) ;
      VALUES (laTables(i, 1), laTables(i, 2), laTables(i, 3))
ENDFOR
SELECT c_tables
SCAN
   USE (M.gcDataDir + c_tables.fname) IN 0 ALIAS probe AGAIN NOUPDATE
   REPLACE c_tables.records WITH RECCOUNT("probe")
   USE IN probe
   SELECT c_tables
ENDSCAN
GO TOP
BROWSE NOEDIT TITLE " Tables of " + M.gcDataDir
USE IN c_tables
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* Reindex - rebuilds the index tags of all tables (needs them
* exclusively)
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
proc Reindex
priv i, cAlias
close databases
for i = 1 to m.nTables
   m.cAlias = left(laTables(i, 1), at(".", laTables(i, 1)) - 1)
   use (m.gcDataDir + m.cAlias) exclusive
   if not used()
      loop
   endif
   wait window "Reindexing " + m.cAlias nowait
   reindex
   use
endfor
do OpenTables
do AuditWrite with AUD_SYS_REINDEX, ""
retu
