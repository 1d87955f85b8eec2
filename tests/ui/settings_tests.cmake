list(APPEND GLIMMER_UI_TESTS
  ui/SettingsSearchTest.cpp
  ui/SettingsSectionsTest.cpp
  ui/SettingsTestSupport.cpp
  ui/SettingsTestSupport.h
  ui/SettingsWatchlistTest.cpp
)
