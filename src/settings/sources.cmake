set(GLIMMER_SETTINGS_SOURCES
  settings/AboutSection.cpp
  settings/AboutSection.h
  settings/AlertSection.cpp
  settings/AlertSection.h
  settings/AppearanceSection.cpp
  settings/AppearanceSection.h
  settings/ConfigBinding.cpp
  settings/ConfigBinding.h
  settings/DesktopWords.h
  settings/HoldingsValidator.cpp
  settings/HoldingsValidator.h
  settings/HotKeySection.cpp
  settings/HotKeySection.h
  settings/MaToggle.cpp
  settings/MaToggle.h
  settings/SettingsControls.cpp
  settings/SettingsControls.h
  settings/SettingsRootView.cpp
  settings/SettingsRootView.h
  settings/SettingsSection.cpp
  settings/SettingsSection.h
  settings/SettingsWidgets.cpp
  settings/SettingsWidgets.h
  settings/SettingsWindow.cpp
  settings/SettingsWindow.h
  settings/SoundSection.cpp
  settings/SoundSection.h
  settings/SymbolSuggester.cpp
  settings/SymbolSuggester.h
  settings/WatchlistEditing.cpp
  settings/WatchlistEditing.h
  settings/WatchlistSection.cpp
  settings/WatchlistSection.h
)
# The words the settings use for the desktop's own features.
if(GLIMMER_PLATFORM STREQUAL "macos")
  list(APPEND GLIMMER_SETTINGS_SOURCES settings/DesktopWordsMac.cpp)
elseif(GLIMMER_PLATFORM STREQUAL "windows")
  list(APPEND GLIMMER_SETTINGS_SOURCES settings/DesktopWordsWindows.cpp)
else()
  list(APPEND GLIMMER_SETTINGS_SOURCES settings/DesktopWordsLinux.cpp)
endif()
