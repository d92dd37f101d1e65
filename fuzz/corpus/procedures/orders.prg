*имммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммм╩
*╨  ORDERS.PRG - order entry: new orders, editing, cancelling         ╨
*╨  Called as  DO NewOrder IN orders  from MAIN.PRG                   ╨
*хмммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммммм╪
#DEFINE AUD_ORD_NEW     0201
#DEFINE AUD_ORD_CANCEL  0202
#DEFINE AUD_ORD_PRINT   0203
#DEFINE K_ESC           27
#DEFINE K_F2            -1
#DEFINE K_DEL           7
#DEFINE MAX_LINES       40
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* NewOrder - a new order for a customer: header, lines, total
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE NewOrder
PRIVATE cCustId, cOrderNo, dOrdDate, lSaved
M.cCustId  = SPACE(6)
M.dOrdDate = M.gdWorkDate
M.lSaved   = .F.

DEFINE WINDOW wOrder FROM 2,2 TO 22,77 DOUBLE TITLE " New order " ;
   COLOR SCHEME 5
ACTIVATE WINDOW wOrder
@ 1,2 SAY "Customer  " GET M.cCustId PICTURE "@!" ;
   VALID CheckCust(M.cCustId) ERROR "Unknown customer"
@ 2,2 SAY "Date      " GET M.dOrdDate
READ
IF LASTKEY() = K_ESC
   RELEASE WINDOW wOrder
   RETURN
ENDIF

* the lines are collected in a cursor and written at F2
CREATE CURSOR c_basket (art_no C(10), descr C(30), qty N(8,2), ;
   price N(10,2), amount N(12,2))
INDEX ON art_no TAG art_no
DO OrderLines WITH "c_basket"
IF LASTKEY() = K_F2 AND RECCOUNT("c_basket") > 0
   M.cOrderNo = NextOrderNo()
   SELECT orders
   APPEND BLANK
   REPLACE order_no WITH M.cOrderNo, cust_id WITH M.cCustId, ;
      ord_date WITH M.dOrdDate, status WITH "O", paid WITH .F.
   SELECT c_basket
   SCAN
      SELECT items
      APPEND BLANK
      REPL order_no WITH M.cOrderNo, line_no WITH RECNO("c_basket"), ;
         art_no WITH c_basket.art_no, qty WITH c_basket.qty, ;
         price WITH c_basket.price
      SELECT c_basket
   ENDSCAN
   SUM amount TO M.nTotal
   SELECT orders
   REPLACE total WITH ROUND(M.nTotal * (1 + M.gnVatRate / 100), 2)
   M.lSaved = .T.
   DO AuditWrite WITH AUD_ORD_NEW, M.cOrderNo
ENDIF
USE IN c_basket
RELEASE WINDOW wOrder
IF M.lSaved
   WAIT WINDOW "Order " + M.cOrderNo + " saved" NOWAIT
ENDIF
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* OrderLines - edits the lines of an order in the given cursor;
* F2 saves, Esc gives up, Del removes the line under the cursor
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE OrderLines
PARAMETERS m.cCursor
PRIVATE nRow, cArtNo, nQty, nKey
SELECT (m.cCursor)
PUSH KEY CLEAR
ON KEY LABEL F2 KEYBOARD "{CTRL+W}"
DO WHILE .T.
   M.cArtNo = SPACE(10)
   M.nQty   = 1
   @ 4,2 SAY "Article   " GET M.cArtNo PICTURE "@!"
   @ 5,2 SAY "Quantity  " GET M.nQty PICTURE "99999.99" VALID M.nQty > 0
   READ
   M.nKey = LASTKEY()
   DO CASE
   CASE M.nKey = K_ESC OR M.nKey = K_F2
      EXIT
   CASE EMPTY(M.cArtNo)
      LOOP
   CASE NOT SEEK(M.cArtNo, "article")
      WAIT WINDOW "No article " + ALLTRIM(M.cArtNo) TIMEOUT 2
      LOOP
   ENDCASE
   IF SEEK(M.cArtNo)
      REPLACE qty WITH qty + M.nQty, amount WITH qty * price
   ELSE
      INSERT INTO (m.cCursor) (art_no, descr, qty, price, amount) ;
         VALUES (M.cArtNo, article.descr, M.nQty, article.price, ;
         M.nQty * article.price)
   ENDIF
   DO ShowLines WITH m.cCursor, 8
ENDDO
POP KEY
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* ShowLines - lists the lines of the cursor from row nTop on
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE ShowLines
PARAMETERS m.cCursor, m.nTop
PRIVATE nRow
M.nRow = m.nTop
@ m.nTop,0 CLEAR TO 18,73
SELECT (m.cCursor)
SCAN WHILE M.nRow <= 18
   @ M.nRow,2 SAY art_no + " " + LEFT(descr, 24) + ;
      STR(qty, 9, 2) + STR(amount, 12, 2)
   M.nRow = M.nRow + 1
ENDSCAN
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* EditOrder - shows an order; the lines can be changed while the
* order is open
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE EditOrder
PARAMETERS m.cOrderNo
PRIVATE cOrderNo
IF EMPTY(m.cOrderNo)
   M.cOrderNo = SPACE(8)
   @ 1,2 SAY "Order number" GET M.cOrderNo PICTURE "@!"
   READ
ENDIF
SELECT orders
IF NOT SEEK(M.cOrderNo)
   WAIT WINDOW "No order " + M.cOrderNo TIMEOUT 2
   RETURN
ENDIF
IF orders.status <> "O"
   WAIT WINDOW "The order is closed" NOWAIT
ENDIF
SELECT * FROM items WHERE items.order_no = M.cOrderNo ;
   ORDER BY line_no INTO CURSOR c_lines
SELECT c_lines
BROWSE FIELDS art_no, qty, price NOEDIT TITLE " Order " + M.cOrderNo
USE IN c_lines
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* CancelOrder - cancels an open order and its lines
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
PROCEDURE CancelOrder
PARAMETERS m.cOrderNo
SELECT orders
IF SEEK(m.cOrderNo) AND status = "O" AND YesNo("Cancel " + m.cOrderNo + "?")
   REPLACE status WITH "X", total WITH 0
   SELECT items
   DELETE FOR order_no = m.cOrderNo
   DO AuditWrite WITH AUD_ORD_CANCEL, m.cOrderNo
ENDIF
RETURN

*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
* CheckCust - VALID of the customer field: an active customer
*дддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддддд
FUNCTION CheckCust
PARAMETERS m.cId
IF EMPTY(m.cId)
   RETURN .F.
ENDIF
RETURN SEEK(m.cId, "customer") AND customer.active
