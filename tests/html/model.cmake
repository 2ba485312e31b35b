# Document model and tree builder.
kavrelo_test(NAME html_model_test
  SOURCES DomTest.cpp HtmlParserTest.cpp
  LIBS kavrelo_html LABELS html)
