DATA: stackloss
P: 5
N: 21
FORMAT: free
MISSING-CODE: 99999
INTERCEPT: yes
'VARIABLE NAME' TYPE DF
loss response 0
air predictor 1
water predictor 1
acid predictor 1
wt weight 0
FAMILY: gaussian
LINK: identity
THRESHOLDS: 1e-12 1e-12
'MAX ITERS:' 50 50
