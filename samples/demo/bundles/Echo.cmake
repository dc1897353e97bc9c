# A folder name with an accent: the row sorts it among the E's, not after Z.
set(folder Écho)
set(identifier org.vexilo.demo.Echo)
set(version 1.2)
set(icon "#27ae60" É)
set(development_region fr)
set(languages fr en)
name(fr Écho)
name(en Echo)
