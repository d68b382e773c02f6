title:Feed section trend
indeplab:Time (h)
runplot:
numpoints:0
numindep:1
numdep:3
indeplow:0
indephigh:8
depvarno:0
deplab:Feed flow (t/h)
deplow:0
dephigh:50
depvarno:1
deplab:Feed temperature (C)
deplow:20
dephigh:80
depvarno:2
deplab:Preheater duty (MW)
deplow:0
dephigh:5
values:
