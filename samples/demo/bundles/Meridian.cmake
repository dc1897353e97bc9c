# A language with and without its regions.
set(identifier org.vexilo.demo.Meridian)
set(version 1.3)
set(icon "#34495e" M)
set(languages en en_GB en_AU fr fr_CA es es_MX)
name(fr Méridien)
name(fr_CA Méridien)
name(es Meridiano)
name(es_MX Meridiano)
