# Two languages lie in "Resources Disabled"; Vexilo moves them back when it reads the bundle.
set(identifier org.vexilo.demo.Phoenix)
set(version 2.0)
set(icon "#e67e22" P)
set(languages en fr)
set(disabled it nl)
name(fr Phénix)
name(it Fenice)
name(nl Feniks)
