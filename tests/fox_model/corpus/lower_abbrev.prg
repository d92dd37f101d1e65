&& lower case, abbreviated keywords, tabs, LF
para	a, b
dime	arr(10)
if	a > b
	m.c = adir(laFiles, "*.prg")
endi
proc	first
	priv all like l*
	publ	gx
	use	customers alias cust
	sele 0
	retu
func	second(x)
	do case
	case x = 1
		m.y = 1
	othe
		m.y = 2
	endc
	do whil .t.
		exit
	endd
	retu m.y
