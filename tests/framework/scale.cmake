# Lengths at a display scale: plain arithmetic, tested natively as well.
kavrelo_test(NAME framework_scale_test SOURCES ScaleTest.cpp LIBS kavrelo_app_core LABELS framework)
