* ORDERS.PRG - order entry
* Upper case, CR LF, full keywords
#DEFINE MAX_LINES 100
PARAMETERS tcOrder, tnMode
PRIVATE lnI, lcText
SET TALK OFF
DO Setup WITH tcOrder
RETURN

*-- Prepare the cursor
PROCEDURE Setup
PARAMETERS tcOrder
CREATE CURSOR curLines (nLine N(5), cItem C(20), ;
   nQty N(10,2))
SELECT * FROM orders WHERE cOrder = tcOrder ;
   INTO CURSOR curOrder
STORE 0 TO m.lnTotal, m.lnCount
TEXT
PROCEDURE NotAProc
ENDTEXT
RETURN

FUNCTION Total(tnA, tnB)
DIMENSION laTmp(2,3), laOne[5]
FOR m.lnI = 1 TO 10
   m.lnTotal = m.lnTotal + lnI
ENDFOR
RETURN m.lnTotal
