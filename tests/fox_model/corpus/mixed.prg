NOTE mixed styles: notes, strings, brackets, a TEXT without ENDTEXT
NOTES = 1
? "a && b" && real comment
x = [PROCEDURE in brackets] + 'quote'
y = 1 + ;   && the comment hides the continuation
PROCEDURE afterComment
z = 1 + ;
* a comment line ends the statement ;
PROCEDURE afterContinuedComment
Procedure CamelCase(a, b) && declared with parameters
  copy to array laCopy
  select * from t into table ..\out\res.dbf
TEXT
FUNCTION hidden
and the rest of the file is text
