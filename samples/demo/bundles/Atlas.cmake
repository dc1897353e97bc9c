# Localisation folders named by language codes, regions included.
set(identifier org.vexilo.demo.Atlas)
set(version 3.2)
set(icon "#2f6fd6" A)
set(icon_file Atlas)            # no extension: the reader adds .icns
set(languages en fr de es it ja zh_TW pt_BR)
name(it Atlante)
name(ja アトラス)
name(zh_TW 地圖集)
