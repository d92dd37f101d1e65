*ÉÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍ»
*º  REPORTS.PRG - printed lists: daily orders, debtors, articles      º
*º  DO reports WITH "DAILY" | "DEBTORS" | "ARTICLES"                  º
*ÈÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍÍ¼
#DEFINE AUD_REP_DAILY    0301
#DEFINE AUD_REP_DEBTORS  0302
#DEFINE REP_WIDTH        78
PARAMETERS m.cReport
PRIVATE cFile, nLines, nPage
M.cFile  = SYS(3) + ".TXT"       && a unique name in the current folder
M.nLines = 0
M.nPage  = 1

SET TEXTMERGE TO (M.cFile) NOSHOW
SET TEXTMERGE ON
DO CASE
CASE UPPER(m.cReport) = "DAILY"
   DO DailyList WITH M.gdWorkDate
CASE UPPER(m.cReport) = "DEBTORS"
   DO Debtors WITH 30
CASE UPPER(m.cReport) = "ARTICLES"
   DO ArticleList
OTHERWISE
   WAIT WINDOW "Unknown report " + m.cReport TIMEOUT 2
ENDCASE
SET TEXTMERGE OFF
SET TEXTMERGE TO
IF FILE(M.cFile)
   MODIFY FILE (M.cFile) NOEDIT
   DELETE FILE (M.cFile)
ENDIF
RETURN

*ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ
* DailyList - the orders of one day with their totals
*ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ
PROCEDURE DailyList
PARAMETERS m.dDay
PRIVATE nCount, nSum, nPaid
SELECT orders.order_no, orders.cust_id, customer.name, orders.total, ;
       orders.paid ;
   FROM orders, customer ;
   WHERE orders.cust_id = customer.cust_id AND orders.ord_date = m.dDay ;
   ORDER BY orders.order_no ;
   INTO CURSOR c_daily
COUNT TO M.nCount
SUM total TO M.nSum
CALCULATE SUM(IIF(paid, total, 0)) TO M.nPaid
TEXT
<<PADC(M.gcCompany, REP_WIDTH)>>
<<PADC("Orders of " + DTOC(m.dDay), REP_WIDTH)>>

Order    Customer                              Total  Paid
ÄÄÄÄÄÄÄÄ ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ ÄÄÄÄÄÄÄÄÄÄÄÄ ÄÄÄÄ
ENDTEXT
SCAN
   \<<order_no>> <<name>> <<STR(total, 12, 2)>> <<IIF(paid, "yes", "no")>>
ENDSCAN
\
\<<M.nCount>> orders, total <<FmtMoney(M.nSum)>>, paid <<FmtMoney(M.nPaid)>>
USE IN c_daily
DO AuditWrite WITH AUD_REP_DAILY, DTOC(m.dDay)
RETURN

*ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ
* Debtors - customers with orders unpaid for more than nDays days
*ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ
PROCEDURE Debtors
PARAMETERS m.nDays
PRIVATE dLimit, i
M.dLimit = M.gdWorkDate - m.nDays
SELECT customer.cust_id, customer.name, customer.phone, ;
       SUM(orders.total) AS owed, MIN(orders.ord_date) AS since ;
   FROM customer, orders ;
   WHERE orders.cust_id = customer.cust_id AND NOT orders.paid ;
     AND orders.status = "O" AND orders.ord_date < M.dLimit ;
   GROUP BY customer.cust_id ;
   INTO CURSOR c_debtors
IF _TALLY = 0
   \No debtors older than <<m.nDays>> days.
   USE IN c_debtors
   RETURN
ENDIF
COPY TO ARRAY laDebtors FIELDS cust_id, name, owed
\<<PADC("Debtors on " + DTOC(M.gdWorkDate), REP_WIDTH)>>
\
FOR i = 1 TO ALEN(laDebtors, 1)
   \<<laDebtors(i, 1)>> <<laDebtors(i, 2)>> <<FmtMoney(laDebtors(i, 3))>>
   IF SEEK(laDebtors(i, 1), "customer") AND laDebtors(i, 3) > customer.credit
      \       over the credit limit!
   ENDIF
NEXT
USE IN c_debtors
DO AuditWrite WITH AUD_REP_DEBTORS, STR(m.nDays)
RETURN

*ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ
* ArticleList - the price list, grouped by the first letter
*ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ
PROCEDURE ArticleList
PRIVATE cGroup
M.cGroup = ""
SELECT article
SET ORDER TO TAG descr
GO TOP
\<<PADC("Price list", REP_WIDTH)>>
SCAN FOR NOT DELETED()
   IF LEFT(descr, 1) <> M.cGroup
      M.cGroup = LEFT(descr, 1)
      \
      \<<M.cGroup>>
   ENDIF
   \   <<art_no>> <<descr>> <<unit>> <<STR(price, 10, 2)>>
ENDSCAN
SET ORDER TO TAG art_no
RETURN
